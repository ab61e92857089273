// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "traffic/incident_log.h"

namespace vqx {

// Where the incident log is kept: VQX16 in the per-user state folder ($XDG_STATE_HOME, by
// default ~/.local/state); on Windows the user's local application data folder.
QString logFolderPath();

// The log's folder on the file system, made when the first line is written.
class QtLogFolder : public LogFolder {
 public:
  explicit QtLogFolder(QString path) : path_(std::move(path)) {}
  std::vector<std::string> files() const override;
  std::uint64_t size(const std::string& name) const override;
  Result append(const std::string& name, std::string_view text) override;
  void remove(const std::string& name) override;

 private:
  QString path_;
};

}  // namespace vqx
