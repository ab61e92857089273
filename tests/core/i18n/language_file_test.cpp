// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/language_file.h"

#include <gtest/gtest.h>

namespace vqx {
namespace {

std::string numbered(int count) {
  std::string s;
  for (int i = 1; i <= count; ++i) s += "L" + std::to_string(i) + "\r\n";
  return s;
}

// UTF-8 when every line read is well-formed UTF-8, else Windows-1252 byte by byte.
TEST(LanguageFile, Utf8OrWindows1252) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {  // a line, and its text
      // UTF-8: à, ’ and €, an emoji, the last character there is; a byte order mark is dropped
      {"Propriet\xC3\xA0", "Propriet\xC3\xA0"},
      {"\xE2\x80\x99\xE2\x82\xAC", "\xE2\x80\x99\xE2\x82\xAC"},
      {"\xF0\x9F\x98\x80 ok", "\xF0\x9F\x98\x80 ok"}, {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"\xE0\xA0\x80\xF0\x90\x80\x80", "\xE0\xA0\x80\xF0\x90\x80\x80"},  // U+0800, U+10000
      {"\xC3\xA0\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA0\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"\xEF\xBB\xBFOK", "OK"}, {std::string("a\0b", 3), std::string("a\0b", 3)},
      // Windows-1252, the five undefined codes becoming the control characters of their number
      {"Propriet\xE0", "Propriet\xC3\xA0"}, {"\x80\x93\x9F", "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8"},
      {"\xE0\x7F", "\xC3\xA0\x7F"},  // DEL stays one byte
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      // not UTF-8: a stray byte after characters of two, three and four bytes, truncated, cut
      // short by another character, overlong, surrogate, above U+10FFFF, stray continuation byte
      {"\xC3\xA0\xE2\x82\xAC\xF0\x9F\x98\x80\xFF",
       "\xC3\x83\xC2\xA0\xC3\xA2\xE2\x80\x9A\xC2\xAC\xC3\xB0\xC5\xB8\xCB\x9C\xE2\x82\xAC\xC3\xBF"},
      {"a\xC3", "a\xC3\x83"}, {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},
      {"\xF0\x9F\x98", "\xC3\xB0\xC5\xB8\xCB\x9C"}, {"\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"\xF0\x9Fz\x80", "\xC3\xB0\xC5\xB8z\xE2\x82\xAC"},
      {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
      {"\xF0\x80\x80\xAF", "\xC3\xB0\xE2\x82\xAC\xE2\x82\xAC\xC2\xAF"},
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
      {"\xF5\x80\x80\x80", "\xC3\xB5\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
      {"\x80" "a", "\xE2\x82\xAC" "a"}, {"\xEF\xBB\xBF\xE0", "\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA0"}};
  // clang-format on
  for (const auto& [line, text] : cases)
    EXPECT_EQ(readLanguageTexts(line + "\r\n").pipMessage, text) << ::testing::PrintToString(line);
  // One line that is not UTF-8 makes the whole file Windows-1252; lines past the twelfth do not.
  EXPECT_EQ(readLanguageTexts("\xC3\xA0\r\n\xE0\r\n").pipMessage, "\xC3\x83\xC2\xA0");
  EXPECT_EQ(readLanguageTexts(numbered(11) + "\xC3\xA0\r\n\xFF\r\n").cancelButton, "\xC3\xA0");
  // A file is read; a folder, like anything but a regular file, reads as no lines.
  EXPECT_EQ(readLanguageFile(VQX16_SOURCE_DIR "/lang/English.lng").exitEntry, "E&xit");
  EXPECT_EQ(readLanguageFile(VQX16_SOURCE_DIR "/lang").exitEntry, "");
}

}  // namespace
}  // namespace vqx
