// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "remote/panel_requests.h"
#include "serial/link_state.h"
#include "status/status_handler.h"

namespace vqx {

class DeviceLink;
class FrontPanel;

// The program's names on the session bus: the desktop entry's id, and the object and interface
// built from it.
inline constexpr const char* kBusName = "org.vqx16.vqx16";
inline constexpr const char* kBusPath = "/org/vqx16/vqx16";
inline constexpr const char* kBusInterface = "org.vqx16.vqx16.Panel1";

// What a start asks of the program besides its window: a camera, or a key pressed
// (vqx16 --camera N, vqx16 --press NAME).
struct StartRequest {
  enum class Kind { None, Camera, Press };
  Kind kind = Kind::None;
  int camera = 0;
  QString key;
};

// The panel on the session bus, for alarm systems and scripts of the same user: org.vqx16.vqx16
// at /org/vqx16/vqx16, interface org.vqx16.vqx16.Panel1 (the methods, properties and errors are
// in the introspection data, panel_service.cpp). A front end like the window: it presses the
// panel's keys as the mouse does (the same bytes, the same armed states, the same send queue),
// reads the device's state from the status receiver and the link's from its supervisor, and
// sends PropertiesChanged with what changed, never for a frame that only repeats. Every decision
// is the core's (remote/panel_requests.h); this is the bus's side of it. The traffic record
// names the caller of each key action ("... (D-Bus :1.42, process 1234 alarm-door)").
//
// One key at a time is held over the bus, for the time its Hold asks (at most
// remote::kLongestHold), or until Release or the Hold of another key. Its caller may leave the
// bus meanwhile: a script's gdbus does at once.
class PanelService : public QDBusVirtualObject, private StatusListener {
  Q_OBJECT
 public:
  // `raise` brings the program's windows to the front.
  PanelService(DeviceLink& link, FrontPanel& panel, std::function<void()> raise,
               QObject* parent = nullptr);
  ~PanelService() override;

  // Puts the object on the bus, then takes the name; false when the name is taken (another copy
  // runs) or the bus refuses.
  bool publish(const QDBusConnection& bus);

  // A request of the command line, done here; a refusal is returned and nothing is done.
  std::optional<remote::Refusal> perform(const StartRequest& request);

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  std::optional<remote::Refusal> selectCamera(long long camera, const std::string& origin);
  // `holdMs`: how long a Hold holds the key.
  std::optional<remote::Refusal> key(remote::KeyRequest request, const QString& name,
                                     const std::string& origin, long long holdMs = 0);
  std::optional<remote::Refusal> lineRefuses() const;
  void properties(const QDBusMessage& message, const QDBusConnection& connection);
  QVariant value(remote::Property property) const;
  void show(const remote::PanelView& view);
  void linkShown(const LinkView& link);
  void statusReceived(const ReceivedStatus& status) override;
  // "D-Bus :1.42, process 1234 alarm-door", asked of the bus once per caller.
  std::string originOf(const QString& caller);
  void endHold();

  DeviceLink& link_;
  FrontPanel& panel_;
  std::function<void()> raise_;
  QDBusConnection bus_{QString()};
  remote::PanelView view_;

  struct Hold {
    const layout::KeyEntry* key = nullptr;
    std::string origin;
  };
  std::optional<Hold> hold_;
  QTimer holdEnd_;
  QHash<QString, std::string> origins_;  // the callers' names as the record gives them
};

}  // namespace vqx
