// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
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

// What a save writes: the window's place in twips and the language file.
struct SettingsFileValues {
  long left = 0, top = 0;
  std::string languageFile;
};

// What this run knows of the file's lines when it saves.
struct SettingsFileClaim {
  bool fileRead = false;        // the startup read the file
  bool moved = false;           // the operator has moved the window since the startup
  bool languageChosen = false;  // the operator has chosen a language since the startup
};

// The file is the operator's: a run writes over a line only when the line is its own. Once
// the startup has read the file all three are. A startup that stopped before reading it (a
// stored port setting was rejected) writes nothing until the operator moves the window or
// chooses a language, and then only those lines: the others keep what the file holds, which
// `readFile` gives, asked only then. Gives nothing when nothing is to be written.
std::optional<SettingsFileValues> settingsToSave(
    const SettingsFileClaim& claim, SettingsFileValues run,
    const std::function<SettingsFileLines()>& readFile);

}  // namespace vqx
