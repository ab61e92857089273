#pragma once

#include <string>

#include "common/result.h"

namespace vqx {

enum class PromptIcon { None, Exclamation, Question };
enum class PromptButtons { Ok, AbortRetryIgnore };
enum class PromptAnswer { Ok, Abort, Retry, Ignore };

// Modal message boxes. Texts are always shown as plain text, never interpreted as markup.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual PromptAnswer show(const std::string& text, const std::string& caption, PromptIcon icon,
                            PromptButtons buttons) = 0;

  // The program's usual error report: the description, an exclamation icon, OK, the title.
  void error(const std::string& description) {
    show(description, kAppTitle, PromptIcon::Exclamation, PromptButtons::Ok);
  }
  // A plain message: OK only, no icon, the application title as caption.
  void message(const std::string& text) {
    show(text, kAppTitle, PromptIcon::None, PromptButtons::Ok);
  }
};

}  // namespace vqx
