// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/sys_info_platform.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vqx {
namespace {

#ifdef Q_OS_WIN
// The Windows registry. Keys are opened with KEY_READ: all-access rights on
// HKEY_LOCAL_MACHINE are refused to every user who is not an administrator.
class WindowsRegistry : public Registry {
 public:
  bool openKey(std::uint32_t root, const std::string& subKey, Key& key) override {
    HKEY handle = nullptr;
    const std::wstring name = QString::fromStdString(subKey).toStdWString();
    // The predefined roots are negative 32-bit numbers, sign-extended into the handle.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
    if (RegOpenKeyExW(rootKey, name.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
      return false;
    }
    key = reinterpret_cast<Key>(handle);
    return true;
  }
  bool queryValue(Key key, const std::string& name, std::size_t capacity, std::uint32_t& type,
                  std::string& data) override {
    std::string buffer(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    DWORD valueType = 0;
    const std::wstring valueName = QString::fromStdString(name).toStdWString();
    if (RegQueryValueExW(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr, &valueType,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      return false;
    }
    buffer.resize(size);
    type = valueType;
    if (valueType == REG_SZ) {
      // UTF-16 as stored, handed on as UTF-8 with its terminating zero.
      data = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(buffer.data()),
                                     static_cast<int>(size / sizeof(wchar_t)))
                 .toStdString();
    } else {
      data = buffer;
    }
    return true;
  }
  void closeKey(Key key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};
#else
// No registry on this platform: every key is missing.
class NoRegistry : public Registry {
 public:
  bool openKey(std::uint32_t, const std::string&, Key&) override { return false; }
  bool queryValue(Key, const std::string&, std::size_t, std::uint32_t&, std::string&) override {
    return false;
  }
  void closeKey(Key) override {}
};
#endif

}  // namespace

std::unique_ptr<Registry> makePlatformRegistry() {
#ifdef Q_OS_WIN
  return std::make_unique<WindowsRegistry>();
#else
  return std::make_unique<NoRegistry>();
#endif
}

bool QtProgramLauncher::fileExists(const std::string& path) const {
  const QFileInfo info(QString::fromStdString(path));
  return info.exists() && info.isFile();
}

Result QtProgramLauncher::start(const std::string& path) {
  if (!QProcess::startDetached(QString::fromStdString(path), {})) {
    return Result::fail("Cannot start " + path);
  }
  return Result::ok();
}

}  // namespace vqx
