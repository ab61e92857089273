// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "traffic/incident_log.h"

namespace vqx {

// Where the incident log is kept: VQX16 in the per-user state folder ($XDG_STATE_HOME, by
// default ~/.local/state); on Windows the user's local application data folder.
QString logFolderPath();

// The log's folder on the file system, made when the first line is written. Only regular files
// are listed and measured, and written only when they belong to the user running the program and
// have no other name; nothing follows a link or waits (for a named pipe nobody reads). A write
// goes in whole or not at all: a disk that fills in mid-write is reported with the system's
// reason, and the file is cut back to where it was.
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
