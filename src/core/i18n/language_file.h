// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Language files ("*.lng"): twelve lines by position that relabel six menu entries of the main
// window and five controls of the port settings dialog, and give the Function+Pip message.
//
// Line rules. A line ends at CR LF, at a bare LF or at a bare CR (old editors wrote each of
// them); the line end is not part of the text, spaces are. The last line may lack its line
// end. Only the first twelve lines are read. A read that fails (end of file, read error, a
// line longer than kMaxLanguageLineBytes, which also ends the reading) hands on the text of
// the last line read, so a missing file gives twelve empty texts and a five-line file gives
// its fifth line to lines 6 to 12.
//
// Encoding. When the bytes read are valid UTF-8 they are taken as UTF-8 (a leading byte order
// mark is dropped); otherwise every byte is one Windows-1252 character. The five codes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control
// characters of the same number, as Windows itself converts them. The texts are UTF-8.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace vqx {

inline constexpr int kLanguageLineCount = 12;
inline constexpr std::size_t kMaxLanguageLineBytes = 32 * 1024;

// The twelve texts of a language file, in line order, named after what they label.
struct LanguageTexts {
  std::string pipMessage;       // 1: the Function+Pip reset's message
  std::string exitEntry;        // 2: mnuFileExit
  std::string portMenu;         // 3: mnuPort
  std::string propertiesEntry;  // 4: mnuProperties
  std::string openEntry;        // 5: mnuOpen
  std::string languageEntry;    // 6: Language
  std::string infoEntry;        // 7: Info
  // The port settings dialog's:
  std::string portLabel;     // 8: Label1
  std::string speedGroup;    // 9: Frame1
  std::string formatGroup;   // 10: fraConnection
  std::string flowGroup;     // 11: Frame5
  std::string cancelButton;  // 12: cmdCancel

  // Text of line `line` (1 to 12).
  std::string& line(int line);
  const std::string& line(int line) const;
  bool operator==(const LanguageTexts&) const = default;
};

// Reads a language file from a stream positioned at its start. A null stream stands for a file
// that could not be opened.
LanguageTexts readLanguageTexts(std::istream* in);
LanguageTexts readLanguageTexts(std::string_view bytes);

// Opens `path` (UTF-8) and reads it. A missing file, or a path naming anything but a regular
// file (a folder, a FIFO, a device), counts as unreadable. The file is never read past its twelfth
// line.
LanguageTexts readLanguageFile(const std::string& path);

// Windows-1252 to UTF-8, one byte per character.
std::string windows1252ToUtf8(std::string_view bytes);
// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The chosen language file's path: folder, separator and file name, with no doubled separator
// when the folder already ends in one (a drive's root folder).
std::string joinLanguagePath(const std::string& folder, const std::string& fileName,
                             char separator);

}  // namespace vqx
