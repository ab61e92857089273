// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vqx {

// The text without the given blank characters at either end.
inline std::string trimmed(std::string_view text, std::string_view blanks = " ") {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

// The pattern with %1 ... %9 replaced by the arguments in order; other text stays as it is, and
// an argument's own "%" is never read as a mark.
inline std::string withArgs(std::string_view pattern,
                            std::initializer_list<std::string_view> args) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t n = i + 1 < pattern.size() ? std::size_t(pattern[i + 1] - '1') : 9;
    if (pattern[i] == '%' && n < args.size()) {
      text += *(args.begin() + n);
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace vqx
