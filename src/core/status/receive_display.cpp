// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status/receive_display.h"

namespace vqx {

void displayReceived(TerminalBox& box, std::string& text) {
  std::size_t textLen = box.size();
  if (textLen > kReceiveDisplayLimit) {
    box.setText(box.text().substr(kReceiveDisplayCut));
    textLen = box.size();
  }
  box.setSelStart(textLen);

  // Backspaces, in one pass: out holds the text before the first remaining backspace, so a
  // backspace with out empty is one at the start of the text and reaches into the box.
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != kBackspace) {
      out.push_back(c);
    } else if (!out.empty()) {
      out.pop_back();
    } else if (textLen > 0) {
      // textLen stays as it was: further leading backspaces select the same character.
      box.setSelStart(textLen - 1);
      box.setSelLength(1);
    }
  }

  // Line feeds dropped, then every carriage return followed by a line feed.
  text.clear();
  text.reserve(out.size() + out.size() / 4);
  for (const char c : out) {
    if (c == kLineFeed) continue;
    text.push_back(c);
    if (c == kCarriageReturn) text.push_back(kLineFeed);
  }

  box.setSelText(text);
  box.setSelStart(box.size());
}

}  // namespace vqx
