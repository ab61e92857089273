// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/open_failure.h"

#include <utility>

#include "common/captions.h"
#include "common/text.h"

namespace vqx {

std::string portLabel(int port, const std::string& device) {
  return withArgs(caption::kPortLabel, {std::to_string(port), device});
}

std::string openFailureText(OpenFailure failure, const std::string& label,
                            const std::string& detail) {
  static constexpr std::pair<OpenFailure, const char*> kWords[] = {
      {OpenFailure::Missing, caption::kOpenMissing},
      {OpenFailure::NoPermission, caption::kOpenNoPermission},
      {OpenFailure::InUse, caption::kOpenInUse},
      {OpenFailure::LockFile, caption::kOpenLockFile},
      {OpenFailure::Refused, caption::kOpenRefused},
      {OpenFailure::NoLine, caption::kOpenNoLine},
      {OpenFailure::Unreachable, caption::kOpenUnreachable},
  };
  const char* pattern = caption::kOpenOther;
  for (const auto& [kind, words] : kWords) {
    if (kind == failure) pattern = words;
  }
  return withArgs(pattern, {label, detail});
}

}  // namespace vqx
