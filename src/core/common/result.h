// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

namespace vqx {

// Outcome of an operation that may fail. A failure carries the text description that the
// program shows to the operator in a message box.
class [[nodiscard]] Result {
 public:
  static Result ok() { return Result(); }
  static Result fail(std::string description) {
    Result r;
    r.failed_ = true;
    r.error_ = std::move(description);
    return r;
  }

  bool isOk() const { return !failed_; }
  explicit operator bool() const { return !failed_; }
  const std::string& error() const { return error_; }

 private:
  bool failed_ = false;
  std::string error_;
};

// The application title: caption of every window and message box that names no other, and
// the application name the stored settings are filed under.
inline constexpr const char* kAppTitle = "VQX16";

}  // namespace vqx
