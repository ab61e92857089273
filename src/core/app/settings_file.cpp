// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/text.h"

namespace vqx {
namespace {

// Positions beyond this many twips (about 7 metres of screen at 96 dpi) are not window
// positions; they come from a damaged file.
constexpr double kTwipsLimit = 10'000'000.0;

}  // namespace

std::string formatTwips(long value) {
  // The minus sign takes the place of the leading space; the number is never negated, so the
  // most negative value is written as it is.
  std::string text = std::to_string(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  text.push_back(' ');
  return text;
}

std::string formatSettingsFile(long left, long top, const std::string& languageFile) {
  return formatTwips(left) + "\r\n" + formatTwips(top) + "\r\n" +
         (fitsOnOneLine(languageFile) ? languageFile : std::string()) + "\r\n";
}

bool fitsOnOneLine(const std::string& path) {
  return path.find_first_of("\r\n") == std::string::npos;
}

std::string lineBreakInPathMessage(const std::string& path) {
  std::string shown;  // the line breaks made visible
  for (char c : path) shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return "The name of this language file contains a line break, which the settings file cannot "
         "keep:\n" +
         shown + "\nRename the file and choose it again.";
}

SettingsFileLines parseSettingsFile(std::string_view head) {
  SettingsFileLines lines;
  std::optional<std::string>* targets[] = {&lines.left, &lines.top, &lines.languageFile};
  std::size_t pos = 0;
  for (auto* target : targets) {
    if (pos >= head.size()) break;  // end of file: this line and the rest cannot be read
    const auto end = std::min(head.find_first_of("\r\n", pos), head.size());
    if (end - pos > kSettingsLineLimit) break;  // unreadable, and so is everything after it
    *target = std::string(head.substr(pos, end - pos));
    pos = end;
    if (pos < head.size() && head[pos] == '\r') ++pos;
    if (pos < head.size() && head[pos] == '\n') ++pos;
  }
  return lines;
}

std::optional<long> parseTwips(const std::string& line) {
  const std::string text = trimmed(line);
  if (text.empty()) return std::nullopt;
  // Sign, digits, an optional fraction; nothing else.
  std::size_t i = 0;
  if (text[i] == '-' || text[i] == '+') ++i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0 || i != text.size() || digits > 30) return std::nullopt;
  // Read without the C library's locale: the decimal point is always ".".
  const char* start = text.data() + (text[0] == '+' ? 1 : 0);
  double value = 0;
  std::from_chars(start, text.data() + text.size(), value, std::chars_format::fixed);
  if (!std::isfinite(value) || std::fabs(value) > kTwipsLimit) return std::nullopt;
  return std::lround(value);
}

std::optional<SettingsFileValues> settingsToSave(
    const SettingsFileClaim& claim, SettingsFileValues run,
    const std::function<SettingsFileLines()>& readFile) {
  if (claim.fileRead) return run;
  if (!claim.moved && !claim.languageChosen) return std::nullopt;
  const SettingsFileLines held = readFile();
  if (!claim.moved) {
    if (const auto left = held.left ? parseTwips(*held.left) : std::nullopt) run.left = *left;
    if (const auto top = held.top ? parseTwips(*held.top) : std::nullopt) run.top = *top;
  }
  if (!claim.languageChosen && held.languageFile) run.languageFile = *held.languageFile;
  return run;
}

}  // namespace vqx
