// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/terminal_box.h"

#include <algorithm>
#include <utility>

namespace vqx {

void TerminalBox::setText(std::string text) {
  text_ = std::move(text);
  selStart_ = 0;
  selLength_ = 0;
}

void TerminalBox::setSelStart(std::size_t start) {
  selStart_ = std::min(start, text_.size());
  selLength_ = 0;
}

void TerminalBox::setSelLength(std::size_t length) {
  selLength_ = std::min(length, text_.size() - selStart_);
}

void TerminalBox::setSelText(std::string_view text) {
  text_.replace(selStart_, selLength_, text);
  selStart_ += text.size();
  selLength_ = 0;
}

}  // namespace vqx
