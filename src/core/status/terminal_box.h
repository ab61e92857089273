// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vqx {

// The terminal text box txtTerm as the program uses it: its whole text, a caret or selection,
// and replacement of the selection. One character per byte, codes 0 to 255, kept as they are
// (no line-end translation), so the box is also the receive buffer of the status decoding.
// The window only shows this model. Every operation clamps out-of-range values the way a text
// box does, so none of them can fail.
class TerminalBox {
 public:
  const std::string& text() const { return text_; }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  // Replaces the whole text; the caret goes to the start, nothing selected.
  void setText(std::string text);

  std::size_t selStart() const { return selStart_; }
  // Moves the caret (clamped to the text's length) and clears the selection.
  void setSelStart(std::size_t start);

  std::size_t selLength() const { return selLength_; }
  // Selects this many characters from the caret, at most up to the end of the text.
  void setSelLength(std::size_t length);

  std::string selText() const { return text_.substr(selStart_, selLength_); }
  // Replaces the selection by text; the caret ends after the inserted text, nothing selected.
  void setSelText(std::string_view text);

 private:
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
};

}  // namespace vqx
