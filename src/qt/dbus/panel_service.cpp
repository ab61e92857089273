// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dbus/panel_service.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>

#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "qt/serial/device_link.h"

namespace vqx {
namespace {

using remote::Fault;
using remote::Refusal;

constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
// The callers whose names are kept at a time; a flood of new callers cannot grow the list.
constexpr int kCallersKept = 64;
// Stands for the constant list of the keys' names beside the properties that change.
constexpr const char* kKeyNames = "KeyNames";

const QString kIntrospection = QStringLiteral(R"(  <interface name="org.vqx16.vqx16.Panel1">
    <!-- Camera 1 to 16 on the main monitor, whatever is armed on the panel: sends "/01" to "/16";
         the function shift, a camera assignment and zoom end. -->
    <method name="SelectCamera"><arg name="camera" type="i" direction="in"/></method>
    <!-- A key by the name a screen reader says for it ("Camera 12", "Live", "4 pictures / down"),
         any case, pressed as a click with the left mouse button. -->
    <method name="Press"><arg name="key" type="s" direction="in"/></method>
    <!-- The right button: Function arms the function shift, the 4, 9 and 16 pictures keys start
         a camera assignment. -->
    <method name="PressRight"><arg name="key" type="s" direction="in"/></method>
    <!-- The keys that repeat while held (the four screen keys): held for 1 to 10000 ms, or until
         Release or the Hold of another key; a Hold of the key held goes on for its own time. -->
    <method name="Hold">
      <arg name="key" type="s" direction="in"/>
      <arg name="milliseconds" type="u" direction="in"/>
    </method>
    <method name="Release"><arg name="key" type="s" direction="in"/></method>
    <!-- Brings the program's window to the front. -->
    <method name="Activate"/>
    <!-- As the last status frame says; 0 when it names no camera. -->
    <property name="Camera" type="i" access="read"/>
    <property name="LitKeys" type="as" access="read"/>
    <property name="LitLamps" type="as" access="read"/>
    <property name="LinkState" type="s" access="read"/>
    <property name="LinkReason" type="s" access="read"/>
    <property name="Port" type="i" access="read"/>
    <property name="Device" type="s" access="read"/>
    <property name="KeyNames" type="as" access="read">
      <annotation name="org.freedesktop.DBus.Property.EmitsChangedSignal" value="const"/>
    </property>
  </interface>
)");

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList qsList(const auto& texts) {
  QStringList list;
  for (const auto& text : texts) list << qs(text);
  return list;
}

QString errorName(Fault fault) {
  if (fault == Fault::InvalidArgs) return QString::fromLatin1(kInvalidArgs);
  return QStringLiteral("org.vqx16.vqx16.Error.") + qs(remote::faultName(fault));
}

Qt::MouseButton qtButton(MouseButton button) {
  return button == MouseButton::Right ? Qt::RightButton : Qt::LeftButton;
}

// The name a process gave itself, where the system tells it.
std::string processName(long long process) {
  QFile comm(QStringLiteral("/proc/%1/comm").arg(process));
  if (!comm.open(QIODevice::ReadOnly)) return {};
  return comm.readLine(64).trimmed().toStdString();
}

const std::optional<remote::KeyRequest> keyRequest(const QString& member) {
  using remote::KeyRequest;
  if (member == QLatin1String("Press")) return KeyRequest::Press;
  if (member == QLatin1String("PressRight")) return KeyRequest::PressRight;
  if (member == QLatin1String("Hold")) return KeyRequest::Hold;
  if (member == QLatin1String("Release")) return KeyRequest::Release;
  return std::nullopt;
}

}  // namespace

PanelService::PanelService(DeviceLink& link, FrontPanel& panel, std::function<void()> raise,
                           QObject* parent)
    : QDBusVirtualObject(parent), link_(link), panel_(panel), raise_(std::move(raise)) {
  holdEnd_.setSingleShot(true);
  connect(&holdEnd_, &QTimer::timeout, this, &PanelService::endHold);
  // The ticks of a held key are the hold's: each line names its caller. The panel's own handler
  // of the tick runs first, having connected first.
  for (const ScreenKeyEntry& entry : screenKeyEntries()) {
    connect(panel_.repeatTimer(entry.timer), &QTimer::timeout, this, [this, &entry] {
      if (hold_ && hold_->key->name == entry.name) link_.recorder().endAction(hold_->origin);
    });
  }
  link_.receiver().addListener(*this);
  connect(&link_.supervisor(), &LinkSupervisor::linkShown, this,
          [this](const QString&, const LinkView& link) { linkShown(link); });
  linkShown(link_.supervisor().view());
}

PanelService::~PanelService() {
  link_.receiver().removeListener(*this);
  if (bus_.isConnected()) bus_.unregisterObject(QString::fromLatin1(kBusPath));
}

bool PanelService::publish(const QDBusConnection& bus) {
  bus_ = bus;
  if (!bus_.registerVirtualObject(QString::fromLatin1(kBusPath), this)) return false;
  const auto claimed = bus_.interface()->registerService(
      QString::fromLatin1(kBusName), QDBusConnectionInterface::DontQueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered) {
    return true;
  }
  bus_.unregisterObject(QString::fromLatin1(kBusPath));
  return false;
}

std::optional<Refusal> PanelService::perform(const StartRequest& request) {
  switch (request.kind) {
    case StartRequest::Kind::Camera:
      return selectCamera(request.camera, "command line");
    case StartRequest::Kind::Press:
      return key(remote::KeyRequest::Press, request.key, "command line");
    case StartRequest::Kind::None:
      break;
  }
  return std::nullopt;
}

std::optional<Refusal> PanelService::lineRefuses() const {
  return remote::checkLine(link_.serial(), link_.supervisor().label(), panel_.waitsForMessage());
}

std::optional<Refusal> PanelService::selectCamera(long long camera, const std::string& origin) {
  if (auto refusal = remote::checkCamera(camera)) return refusal;
  if (auto refusal = lineRefuses()) return refusal;
  link_.recorder().endAction();
  panel_.selectCamera(static_cast<int>(camera));
  link_.recorder().endAction(origin);
  return std::nullopt;
}

std::optional<Refusal> PanelService::key(remote::KeyRequest request, const QString& name,
                                         const std::string& origin, long long holdMs) {
  const remote::KeyPlan plan = remote::planKey(request, name.toStdString());
  if (plan.refusal) return plan.refusal;
  if (request == remote::KeyRequest::Hold) {
    if (auto refusal = remote::checkHoldTime(holdMs)) return refusal;
  }
  PanelKey* key = panel_.key(qs(plan.key->name));
  const bool heldNow = hold_ && hold_->key == plan.key;
  if (plan.gesture == remote::Gesture::LiftUp) {
    if (heldNow) endHold();
    return std::nullopt;
  }
  if (plan.gesture == remote::Gesture::PressDown && heldNow) {
    // Held already: the hold goes on for the new time, now the caller's.
    hold_->origin = origin;
    holdEnd_.start(static_cast<int>(holdMs));
    return std::nullopt;
  }
  if (auto refusal = lineRefuses()) return refusal;
  if (plan.gesture == remote::Gesture::PressDown && hold_) endHold();  // one key held at a time

  link_.recorder().endAction();
  switch (plan.gesture) {
    case remote::Gesture::Click:
      key->click();
      break;
    case remote::Gesture::PressAndRelease:
      key->pressWith(qtButton(plan.button));
      key->releaseWith(qtButton(plan.button));
      break;
    case remote::Gesture::PressDown:
      hold_ = Hold{plan.key, origin};
      holdEnd_.start(static_cast<int>(holdMs));
      key->pressWith(qtButton(plan.button));
      break;
    case remote::Gesture::LiftUp:
      break;
  }
  link_.recorder().endAction(origin);
  return std::nullopt;
}

void PanelService::endHold() {
  if (!hold_) return;
  PanelKey* key = panel_.key(qs(hold_->key->name));
  hold_.reset();
  holdEnd_.stop();
  key->releaseWith(Qt::LeftButton);
}

std::string PanelService::originOf(const QString& caller) {
  if (const auto known = origins_.constFind(caller); known != origins_.constEnd()) return *known;
  std::optional<long long> process;
  std::string name;
  const QDBusReply<uint> pid = bus_.interface()->servicePid(caller);
  if (pid.isValid()) {
    process = pid.value();
    name = processName(*process);
  }
  // A name is never given twice on a bus, so what is kept stays true; the list is only kept short.
  if (origins_.size() >= kCallersKept) origins_.clear();
  const std::string origin = remote::originText("D-Bus " + caller.toStdString(), process, name);
  origins_.insert(caller, origin);
  return origin;
}

bool PanelService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  if (message.interface() == QLatin1String(kProperties)) {
    properties(message, connection);
    return true;
  }
  if (!message.interface().isEmpty() && message.interface() != QLatin1String(kBusInterface)) {
    return false;
  }
  const QString member = message.member();
  const QList<QVariant> args = message.arguments();
  const QString signature = message.signature();
  std::optional<Refusal> refusal;
  if (member == QLatin1String("SelectCamera") && signature == QLatin1String("i")) {
    refusal = selectCamera(args[0].toInt(), originOf(message.service()));
  } else if (const auto request = keyRequest(member);
             request && signature == QLatin1String(*request == remote::KeyRequest::Hold ? "su" : "s")) {
    refusal = key(*request, args[0].toString(), originOf(message.service()),
                  args.value(1).toLongLong());
  } else if (member == QLatin1String("Activate") && signature.isEmpty()) {
    if (raise_) raise_();
  } else if (member == QLatin1String("SelectCamera") || request ||
             member == QLatin1String("Activate")) {
    refusal = Refusal{Fault::InvalidArgs, "Wrong arguments for " + member.toStdString() + " (" +
                                              signature.toStdString() + "); see Introspect"};
  } else {
    return false;
  }
  if (!message.isReplyRequired()) return true;
  connection.send(refusal ? message.createErrorReply(errorName(refusal->fault),
                                                     qs(refusal->message))
                          : message.createReply());
  return true;
}

void PanelService::properties(const QDBusMessage& message, const QDBusConnection& connection) {
  const QList<QVariant> args = message.arguments();
  const QString member = message.member();
  const bool ours = !args.isEmpty() && (args[0].toString() == QLatin1String(kBusInterface) ||
                                        args[0].toString().isEmpty());
  QDBusMessage reply;
  if (member == QLatin1String("GetAll") && message.signature() == QLatin1String("s") && ours) {
    QVariantMap all;
    for (const remote::Property property : remote::kProperties) {
      all.insert(qs(remote::propertyName(property)), value(property));
    }
    all.insert(QString::fromLatin1(kKeyNames), qsList(remote::keyNames()));
    reply = message.createReply(all);
  } else if (member == QLatin1String("Get") && message.signature() == QLatin1String("ss") &&
             ours) {
    const QString name = args[1].toString();
    QVariant found;
    for (const remote::Property property : remote::kProperties) {
      if (qs(remote::propertyName(property)) == name) found = value(property);
    }
    if (name == QLatin1String(kKeyNames)) found = qsList(remote::keyNames());
    reply = found.isValid() ? message.createReply(QVariant::fromValue(QDBusVariant(found)))
                            : message.createErrorReply(QString::fromLatin1(kInvalidArgs),
                                                       QStringLiteral("No property ") + name);
  } else if (member == QLatin1String("Set")) {
    reply = message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                                     QStringLiteral("The panel's properties are read-only"));
  } else {
    reply = message.createErrorReply(QString::fromLatin1(kInvalidArgs),
                                     QStringLiteral("No such interface or arguments"));
  }
  if (message.isReplyRequired()) connection.send(reply);
}

QVariant PanelService::value(remote::Property property) const {
  switch (property) {
    case remote::Property::Camera:
      return view_.camera;
    case remote::Property::LitKeys:
      return qsList(view_.litKeys);
    case remote::Property::LitLamps:
      return qsList(view_.litLamps);
    case remote::Property::LinkState:
      return qs(view_.linkState);
    case remote::Property::LinkReason:
      return qs(view_.linkReason);
    case remote::Property::Port:
      return view_.port;
    case remote::Property::Device:
      return qs(view_.device);
  }
  return {};
}

void PanelService::show(const remote::PanelView& view) {
  const std::vector<remote::Property> changed = remote::changedProperties(view_, view);
  if (changed.empty()) return;
  view_ = view;
  if (!bus_.isConnected()) return;
  QVariantMap values;
  for (const remote::Property property : changed) {
    values.insert(qs(remote::propertyName(property)), value(property));
  }
  QDBusMessage signal = QDBusMessage::createSignal(
      QString::fromLatin1(kBusPath), QString::fromLatin1(kProperties),
      QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kBusInterface) << values << QStringList();
  bus_.send(signal);
}

void PanelService::linkShown(const LinkView& link) {
  remote::PanelView view = view_;
  remote::showLink(view, link, link_.serial().commPort(), link_.supervisor().device());
  show(view);
}

void PanelService::statusReceived(const ReceivedStatus& status) {
  if (!status.indicators) return;
  remote::PanelView view = view_;
  remote::showFrame(view, *status.indicators);
  show(view);
}

QString PanelService::introspect(const QString&) const {
  return kIntrospection;
}

}  // namespace vqx
