// Feeds arbitrary text to both readers of the serial Settings text: the control's parser and
// the port dialog's fixed-width reading from the right. Neither may read outside the text;
// what the parser accepts and formats back must parse to the same settings, and the dialog must
// find a formatted text of listed values in its lists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dialogs/port_properties.h"
#include "serial/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const vqx::SettingsSelection sel = vqx::selectSettingsText(text);
  if (sel.speed && (*sel.speed < 0 || *sel.speed >= int(vqx::kSpeedEntries.size()))) std::abort();
  if (sel.parity && (*sel.parity < 0 || *sel.parity >= int(vqx::kParityEntries.size()))) {
    std::abort();
  }

  const vqx::ParsedLineSettings parsed = vqx::parseLineSettings(text);
  if (!parsed.result) return 0;
  const std::string formatted = vqx::formatLineSettings(parsed.settings);
  const vqx::ParsedLineSettings again = vqx::parseLineSettings(formatted);
  if (!again.result || !(again.settings == parsed.settings)) std::abort();

  // A formatted text always has one-character parity and data bits, so the dialog finds
  // every field the lists offer.
  const vqx::SettingsSelection shown = vqx::selectSettingsText(formatted);
  if (!shown.parity || !shown.stopBits) std::abort();
  if (parsed.settings.dataBits >= 4 && !shown.dataBits) std::abort();
  return 0;
}
