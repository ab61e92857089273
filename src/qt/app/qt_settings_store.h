// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "common/settings_store.h"

namespace vqx {

// The per-user stored settings on QSettings: native format, user scope, organisation VQX16 and
// the application name given with each value (the program always passes VQX16), one section per
// group. On Linux that is ~/.config/VQX16/VQX16.conf, or the same under $XDG_CONFIG_HOME.
//
// Every value is text. The file is meant to be edited by hand, and QSettings reads an unquoted
// value with commas (Settings=9600,n,8,1) as a list; such a list reads back as its items joined
// with commas, so the text is what the user typed.
//
// No QSettings object is kept between calls: each call opens the file afresh, so a value written
// by hand or by another instance is seen on the next read. A file that is there but is no
// regular file (a FIFO, a device) is never opened: the store then reads as empty.
class QtSettingsStore : public SettingsStore {
 public:
  std::string value(const std::string& app, const std::string& section,
                    const std::string& key) const override;
  void setValue(const std::string& app, const std::string& section, const std::string& key,
                const std::string& value) override;

  // Full path of the file the values of `app` are kept in (on Linux, under XDG_CONFIG_HOME).
  static QString fileName(const std::string& app);
};

}  // namespace vqx
