// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vqx {

// The per-user stored settings: text values by application, section and key.
// A key that is absent reads as the empty text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string value(const std::string& app, const std::string& section,
                            const std::string& key) const = 0;
  virtual void setValue(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& value) = 0;
};

}  // namespace vqx
