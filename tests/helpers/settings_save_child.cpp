// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the settings file FILE (the only argument) with the program's own code, two contents of
// different lengths in turn, for a test to kill it in mid-save; a byte on standard output tells
// that the first save is done. It ends by itself after a minute.
#include <unistd.h>

#include <QString>
#include <chrono>
#include <utility>

#include "qt/app/settings_file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  vqx::SettingsFileIo file(QString::fromLocal8Bit(argv[1]));
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  bool told = false;
  for (unsigned long i = 0; std::chrono::steady_clock::now() < end; ++i) {
    const bool ok = (i % 2 == 0) ? file.save(1500, 2000, "/usr/share/vqx16/lang/English.lng")
                                 : file.save(-30000, 32000, "");
    if (ok && !std::exchange(told, true) && ::write(STDOUT_FILENO, "r", 1) != 1) return 1;
  }
  return 0;
}
