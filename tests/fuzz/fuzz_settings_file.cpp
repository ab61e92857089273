// Arbitrary bytes as the head of a settings file: the three lines are read, and each position
// line is read as twips. No line may come out longer than the line limit or holding a line
// end, and what the file writes for a position it reads back must be that position.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view head(reinterpret_cast<const char*>(data),
                              std::min(size, vqx::kSettingsReadLimit));
  const vqx::SettingsFileLines lines = vqx::parseSettingsFile(head);
  for (const auto* line : {&lines.left, &lines.top, &lines.languageFile}) {
    if (!*line) continue;
    if ((*line)->size() > vqx::kSettingsLineLimit) std::abort();
    if ((*line)->find_first_of("\r\n") != std::string::npos) std::abort();
  }
  // A line is only missing when every line after it is missing too.
  if (!lines.left && (lines.top || lines.languageFile)) std::abort();
  if (!lines.top && lines.languageFile) std::abort();

  for (const auto* line : {&lines.left, &lines.top}) {
    if (!*line) continue;
    const auto twips = vqx::parseTwips(**line);
    if (!twips) continue;
    if (*twips > 10'000'000 || *twips < -10'000'000) std::abort();
    // Written back and read again, the same position and the same three lines.
    const std::string file = vqx::formatSettingsFile(*twips, -*twips, "x");
    const vqx::SettingsFileLines again = vqx::parseSettingsFile(file);
    if (!again.left || !again.top || again.languageFile != "x") std::abort();
    if (vqx::parseTwips(*again.left) != *twips || vqx::parseTwips(*again.top) != -*twips) {
      std::abort();
    }
  }
  return 0;
}
