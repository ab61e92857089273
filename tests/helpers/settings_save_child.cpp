// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the settings file FILE (the only argument) for ever with the program's own code,
// alternating two contents of different lengths, so that a torn write could pass for neither
// and a test can kill it at any moment of a save. After the first save it writes one byte to
// standard output; the test waits for that byte before it picks its moment. It ends by itself
// after a minute, should nobody kill it.
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
