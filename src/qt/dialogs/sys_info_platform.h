// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "dialogs/sys_info.h"

namespace vqx {

// The system registry, read-only. On Windows the real registry; elsewhere a registry that holds
// nothing, so the system-information button reports that the tool is unavailable.
std::unique_ptr<Registry> makePlatformRegistry();

// Starts programs with QProcess, detached; checks files with QFileInfo.
class QtProgramLauncher : public ProgramLauncher {
 public:
  bool fileExists(const std::string& path) const override;
  Result start(const std::string& path) override;
};

}  // namespace vqx
