// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/prompts.h"

namespace vqx {

std::string shortenedForMessage(std::string_view text) {
  // Characters are counted as UTF-8 sequences, so a cut never splits one.
  std::size_t characters = 0, lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    if (characters++ == kMessageCharacters || (byte == '\n' && ++lines > kMessageLines)) {
      return std::string(text.substr(0, i)) + "\xE2\x80\xA6";  // …
    }
  }
  return std::string(text);
}

}  // namespace vqx
