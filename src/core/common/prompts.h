// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"

namespace vqx {

enum class PromptIcon { None, Exclamation, Question };
enum class PromptButtons { Ok, AbortRetryIgnore };
enum class PromptAnswer { Ok, Abort, Retry, Ignore };

// A message's text is often partly from outside (a stored value, a device's description, a file
// name, a language file's line), and such text may be of any length. Every text shown is cut to
// at most this many characters and lines, with an ellipsis where it was cut.
inline constexpr std::size_t kMessageCharacters = 500;
inline constexpr std::size_t kMessageLines = 15;
std::string shortenedForMessage(std::string_view text);

// Message boxes. Texts are always shown as plain text, never interpreted as markup, and always
// shortened (above), whatever the implementation.
class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal message box: the caller goes on when the operator has answered.
  PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                    PromptButtons buttons) {
    return present(shortenedForMessage(text), shortenedForMessage(caption), icon, buttons);
  }
  // The program's usual error report: the description, an exclamation icon, OK, the title.
  void error(const std::string& description) {
    show(description, kAppTitle, PromptIcon::Exclamation, PromptButtons::Ok);
  }
  // A plain message: OK only, no icon, the application title as caption.
  void message(const std::string& text) {
    show(text, kAppTitle, PromptIcon::None, PromptButtons::Ok);
  }

  // A report that does not wait for the operator (exclamation icon, OK, the title): the program
  // goes on while it is up. While one is up, the next one replaces its text instead of stacking.
  void notice(const std::string& text) { presentNotice(shortenedForMessage(text)); }
  // The report still up takes this text; nothing happens when the operator has closed it.
  void updateNotice(const std::string& text) { changeNotice(shortenedForMessage(text)); }

 protected:
  virtual PromptAnswer present(const std::string& text, const std::string& caption, PromptIcon icon,
                               PromptButtons buttons) = 0;
  virtual void presentNotice(const std::string& text) = 0;
  virtual void changeNotice(const std::string& text) = 0;
};

}  // namespace vqx
