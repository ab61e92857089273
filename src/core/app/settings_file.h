#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vqx {

// The settings file keeps the main window's position and the active language file across
// runs: three lines ended by CR LF.
//   1  window Left in twips, written " 1500 " (a space, or "-" when negative, and a space after)
//   2  window Top in twips, same form
//   3  the language file path exactly as it is, possibly empty

// A line longer than this counts as unreadable; nothing beyond three lines is ever read, so a
// reader never needs more than this many bytes of a file.
inline constexpr std::size_t kSettingsLineLimit = 32 * 1024;
inline constexpr std::size_t kSettingsReadLimit = 3 * (kSettingsLineLimit + 2);

struct SettingsFileLines {
  // A line that could not be read (missing, too long) is empty here.
  std::optional<std::string> left, top, languageFile;
};

// The contents of a settings file. A language file path with a line break (CR or LF, legal in
// a file name on Linux) would split line 3 and lose the language at the next start: such a path
// is written as an empty line 3. The language chooser refuses such a file in the first place.
std::string formatSettingsFile(long left, long top, const std::string& languageFile);

// Whether the path fits on line 3, and what the language chooser says when it does not.
bool fitsOnOneLine(const std::string& path);
std::string lineBreakInPathMessage(const std::string& path);

// Reads the first three lines of a file's head (at most kSettingsReadLimit bytes of it).
// Lines end with CR LF, a bare LF or a bare CR; the last line may lack its end.
SettingsFileLines parseSettingsFile(std::string_view head);

// A number as the file writes it: a space or "-", the digits, a space.
std::string formatTwips(long value);

// A coordinate line read back as a whole number of twips, surrounding spaces ignored.
// Anything that is not a number, or one far outside any screen, gives nothing.
std::optional<long> parseTwips(const std::string& line);

}  // namespace vqx
