// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through every reader of stored settings (the settings file, the line settings
// text, a stored number or truth value): what is accepted, written back and read again must come
// out the same.
#include <cstdint>
#include <cstdlib>

#include "app/settings_file.h"
#include "app/startup.h"
#include "dialogs/port_properties.h"
#include "serial/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const vqx::SettingsFileLines lines =
      vqx::parseSettingsFile(std::string_view(text).substr(0, vqx::kSettingsReadLimit));
  for (const auto* line : {&lines.left, &lines.top, &lines.languageFile}) {
    if (*line && ((*line)->size() > vqx::kSettingsLineLimit ||
                  (*line)->find_first_of("\r\n") != std::string::npos))
      std::abort();
  }
  if ((!lines.left && lines.top) || (!lines.top && lines.languageFile)) std::abort();
  if (const auto twips = lines.left ? vqx::parseTwips(*lines.left) : std::nullopt) {
    const auto again = vqx::parseSettingsFile(vqx::formatSettingsFile(*twips, -*twips, "x"));
    if (vqx::parseTwips(*again.left) != *twips || vqx::parseTwips(*again.top) != -*twips ||
        again.languageFile != "x")
      std::abort();
  }

  const vqx::SettingsSelection sel = vqx::selectSettingsText(text);
  if (sel.speed && (*sel.speed < 0 || *sel.speed >= int(vqx::kSpeedEntries.size()))) std::abort();
  if (const auto parsed = vqx::parseLineSettings(text); parsed.result) {
    const std::string formatted = vqx::formatLineSettings(parsed.settings);
    const auto again = vqx::parseLineSettings(formatted);
    if (!again.result || !(again.settings == parsed.settings)) std::abort();
    const vqx::SettingsSelection shown = vqx::selectSettingsText(formatted);
    if (!shown.parity || !shown.stopBits || !shown.dataBits) std::abort();
  }

  for (const auto& [min, max] :
       {std::pair<long long, long long>(INT16_MIN, INT16_MAX), {INT32_MIN, INT32_MAX}, {0, 3}}) {
    const vqx::ParsedInteger parsed = vqx::parseStoredInteger(text, min, max);
    const std::string error = parsed.result.error();
    if (!parsed.result && error != "Type mismatch" && error != "Overflow") std::abort();
    if (!parsed.result) continue;
    const auto again = vqx::parseStoredInteger(std::to_string(parsed.value), min, max);
    if (parsed.value < min || parsed.value > max || again.value != parsed.value) std::abort();
    if (vqx::parseTruthValue(text) != (parsed.value != 0)) std::abort();
  }
  return 0;
}
