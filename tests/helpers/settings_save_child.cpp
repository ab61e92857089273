// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the settings file FILE (the only argument) with the program's own code, two contents of
// different lengths in turn, for a test to kill it before, during or after a save: after each
// save a byte on standard output tells which content is now in the file ('0' or '1'), and the
// next save waits for a byte on standard input. It ends by itself after a minute.
#include <unistd.h>

#include <QString>
#include <chrono>

#include "qt/app/settings_file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  vqx::SettingsFileIo file(QString::fromLocal8Bit(argv[1]));
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  for (unsigned long i = 0; std::chrono::steady_clock::now() < end; ++i) {
    const bool ok = (i % 2 == 0) ? file.save(1500, 2000, "/usr/share/vqx16/lang/English.lng")
                                 : file.save(-30000, 32000, "");
    const char saved = (i % 2 == 0) ? '0' : '1';
    char go = 0;
    if (!ok || ::write(STDOUT_FILENO, &saved, 1) != 1) return 1;
    if (::read(STDIN_FILENO, &go, 1) != 1) return 0;
  }
  return 0;
}
