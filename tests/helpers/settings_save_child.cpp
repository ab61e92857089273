// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the settings file for ever with the program's own code, alternating two contents, so
// a test can kill it at any moment of a save. After the first save it writes one byte to
// standard output; the test waits for that byte before it picks its moment.
//
// Usage: settings_save_child FILE
#include <unistd.h>

#include <QString>
#include <chrono>
#include <cstdio>

#include "qt/app/settings_file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: settings_save_child FILE\n");
    return 2;
  }
  vqx::SettingsFileIo file(QString::fromLocal8Bit(argv[1]));
  bool told = false;
  // A minute at most, should nobody kill it.
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  for (unsigned long i = 0; std::chrono::steady_clock::now() < end; ++i) {
    // Two contents of different lengths, so a torn write could not pass for either.
    const bool ok = (i % 2 == 0) ? file.save(1500, 2000, "/usr/share/vqx16/lang/English.lng")
                                 : file.save(-30000, 32000, "");
    if (ok && !told) {
      const char ready = 'r';
      if (::write(STDOUT_FILENO, &ready, 1) != 1) return 1;
      told = true;
    }
  }
  return 0;
}
