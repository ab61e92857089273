// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: the real adapters, handed to the main window.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>

#include "common/result.h"
#include "qt/app/end_on_signals.h"
#include "qt/app/main_window.h"
#include "qt/app/qt_prompts.h"
#include "qt/app/qt_settings_store.h"
#include "qt/app/settings_file_io.h"
#include "qt/dbus/bus_start.h"
#include "qt/dbus/panel_service.h"
#include "qt/serial/device_link.h"
#include "qt/serial/qt_serial_control.h"
#include "qt/traffic/log_folder.h"
#include "vqx16_version.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(vqx::kAppTitle);
  QApplication::setApplicationName(vqx::kAppTitle);
  QApplication::setApplicationDisplayName(vqx::kAppTitle);
  // The desktop entry's id, so docks and task bars put the window under its launcher; and the
  // program's icon on the main window, the dialogs and the message boxes.
  QGuiApplication::setDesktopFileName(QStringLiteral(VQX16_DESKTOP_ID));
  QIcon icon;
  for (const char* size : {"48x48", "256x256"}) {
    icon.addFile(QStringLiteral(":/icons/%1/vqx16.png").arg(QLatin1String(size)));
  }
  QApplication::setWindowIcon(icon);
  QApplication::setApplicationVersion(QString::fromLatin1(vqx::kVersionText));

  const std::optional<vqx::StartRequest> request = vqx::startRequest(QApplication::arguments());
  if (!request) return 2;
  // One copy runs: a second start hands its request to the first before anything here opens the
  // port or writes a file. Without a session bus the program runs alone, as it always did.
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "vqx16: no session bus (%s): the D-Bus interface %s is not offered\n",
                 qPrintable(bus.lastError().message()), vqx::kBusName);
  } else if (vqx::anotherCopyRuns(bus)) {
    return vqx::handOver(bus, *request);
  }

  const QString settingsFile = vqx::settingsFilePath();
  vqx::QtSettingsStore store;
  vqx::QtSerialControl serial(store);
  vqx::QtPrompts prompts;
  vqx::DeviceLink link(serial, store, prompts, vqx::logFolderPath());
  bool ended = false;
  vqx::MainWindow window(vqx::MainWindowParts{link, store, prompts, settingsFile, [&ended] {
                                                ended = true;
                                                QCoreApplication::exit(0);
                                              }});
  prompts.setParent(&window);
  // SIGTERM, SIGINT and SIGHUP end the program as the Exit command does: the port closed first,
  // queued output dropped.
  vqx::EndOnSignals endOnSignals([&window] { window.exitCommand(); });
  // The panel on the bus, offered before the port opens. A copy that took the name in the
  // meantime gets the request instead; nothing was written or opened yet.
  vqx::PanelService service(link, *window.panel(), [&window] { window.bringToFront(); });
  if (bus.isConnected() && !service.publish(bus)) return vqx::handOver(bus, *request);
#ifndef Q_OS_WIN
  // The installer makes the settings folder on Windows; elsewhere the program does, once.
  QDir().mkpath(QFileInfo(settingsFile).absolutePath());
#endif
  window.load();
  if (const auto refusal = service.perform(*request)) {
    std::fprintf(stderr, "vqx16: %s\n", refusal->message.c_str());
  }
  // A signal that came while a box of the startup was up has ended the program already.
  return ended ? 0 : QApplication::exec();
}
