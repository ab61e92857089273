// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/panel/front_panel.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "panel/panel_access.h"
#include "qt/panel/panel_widgets.h"
#include "status/status_frame.h"

namespace vqx {

namespace {

using layout::toPixels;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const layout::Rect& r) {
  return {toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height)};
}

QRectF twips(const layout::Rect& r) {
  return QRectF(r.left, r.top, r.width, r.height);
}

// The one transform of the painted artwork, from twips to the panel's logical pixels.
const QTransform kTwips =
    QTransform::fromScale(1.0 / layout::kTwipsPerPixel, 1.0 / layout::kTwipsPerPixel);

// Room a caption leaves free on each side when its label overlaps another (the camera numbers,
// whose labels overlap as their keys do), in pixels: the captions stay apart.
constexpr int kCaptionMargin = 2;

bool overlapsAnotherLabel(const layout::LabelEntry& label) {
  const QRect here = pixels(label.rect);
  return std::any_of(layout::labels().begin(), layout::labels().end(),
                     [&](const layout::LabelEntry& other) {
                       return &other != &label && pixels(other.rect).intersects(here);
                     });
}

QColor qcolour(layout::Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

const QColor kArmed = qcolour(layout::toRgb(layout::kArmedGrey));
const QColor kRed = qcolour(layout::toRgb(layout::kStatusRed));

std::optional<MouseButton> panelButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

constexpr std::array<const char*, 6> kLampNames{"Lux", "Lux2", "Lux3", "Lux4", "Lux5", "Lux6"};
constexpr std::array<const char*, 4> kTimerNames{"TimerUp", "TimerDown", "TimerLeft", "TimerRight"};
constexpr int kRepeatInterval = 5;  // milliseconds

}  // namespace

FrontPanel::FrontPanel(FrontPanelHooks hooks, QWidget* parent)
    : QWidget(parent), hooks_(std::move(hooks)), keys_(*this) {
  setObjectName(QStringLiteral("panel"));
  setFixedSize(toPixels(layout::kPanelWidth), toPixels(layout::kPanelHeight));
  setAutoFillBackground(true);
  build();
  repaintKeyColours();
  paintStatusKeys();
}

FrontPanel::~FrontPanel() = default;

void FrontPanel::build() {
  for (const layout::LabelEntry& entry : layout::labels()) {
    const QRectF rect = kTwips.mapRect(twips(entry.rect));
    const QString text = qs(entry.caption);
    const int room = int(rect.width()) - (overlapsAnotherLabel(entry) ? 2 * kCaptionMargin : 0);
    const auto align = entry.align == layout::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    captions_.push_back({twips(entry.rect), rect, text,
                         fittedFont(panelFont(entry.font), text, room), qcolour(entry.colour),
                         int(Qt::AlignTop | align)});
  }

  std::vector<std::pair<int, PanelKey*>> focusChain;
  std::vector<PanelKey*> created;
  for (const layout::KeyEntry& entry : layout::keys()) {
    auto* key = new PanelKey(entry, this);
    created.push_back(key);
    const QString name = qs(entry.name);
    key->setObjectName(name);
    key->setGeometry(pixels(entry.rect));
    key->setToolTip(qs(keyToolTip(entry)));
    key->setAccessibleName(qs(entry.accessibleName));
    key->setFocusPolicy(Qt::StrongFocus);
    // A key with the focus takes Enter itself, as a dialog's buttons do.
    key->setAutoDefault(true);
    keysByName_.insert(name, key);
    focusChain.emplace_back(entry.focusOrder, key);

    if (entry.role == layout::KeyRole::Camera) cameraKeys_[entry.number - 1] = key;
    if (entry.role == layout::KeyRole::Function) functionKey_ = key;
    if (entry.action == layout::KeyAction::Click) {
      connect(key, &QAbstractButton::clicked, this, [this, &entry] { keys_.clicked(entry); });
    } else {
      connect(key, &PanelKey::mouseDown, this, [this, &entry](Qt::MouseButton b) {
        if (const auto button = panelButton(b)) keys_.pressed(entry, *button);
      });
      connect(key, &PanelKey::mouseUp, this,
              [this, &entry](Qt::MouseButton) { keys_.released(entry); });
    }
  }
  defaultKey_ = key(QStringLiteral("Uno"));
  defaultKey_->setDefault(true);
  statusKeys_ = {
      StatusKey{key(QStringLiteral("SediciScreen"))}, StatusKey{key(QStringLiteral("NoveScreen"))},
      StatusKey{key(QStringLiteral("QuattroScreen"))}, StatusKey{key(QStringLiteral("Pip"))},
      StatusKey{key(QStringLiteral("FullScreen"))}};

  // A key that the next one partly covers (neighbouring camera keys overlap by a pixel) draws
  // its right edge where the next one begins, so that both show all four edges.
  for (std::size_t i = 0; i + 1 < created.size(); ++i) {
    const QRect here = created[i]->geometry(), next = created[i + 1]->geometry();
    if (next.intersects(here) && next.x() > here.x()) {
      created[i]->setShownWidth(next.x() - here.x());
    }
  }

  std::sort(focusChain.begin(), focusChain.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusChain.size(); ++i) {
    QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
  }

  for (const layout::LampEntry& entry : layout::lamps()) {
    auto* lamp = new PanelLamp(qcolour(entry.fill), this);
    lamp->setObjectName(qs(entry.name));
    lamp->setAccessibleName(qs(entry.accessibleName));
    lamp->setGeometry(pixels(entry.rect));
    lamp->setVisible(entry.visibleAtStart);
    lamp->setAccessibleDescription(qs(lampDescription(entry.visibleAtStart)));
    for (std::size_t i = 0; i < kLampNames.size(); ++i) {
      if (entry.name == kLampNames[i]) lamps_[i] = lamp;
    }
  }
  cameraOnMonitor_ = cameraAtLampLeft(layout::findLamp("Lux")->rect.left);
  for (PanelKey* key : created) describe(key);

  for (std::size_t i = 0; i < timers_.size(); ++i) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(kTimerNames[i]));
    timer->setInterval(kRepeatInterval);
    timer->setTimerType(Qt::PreciseTimer);
    const auto which = static_cast<RepeatTimer>(i);
    connect(timer, &QTimer::timeout, this, [this, which] { keys_.repeatTick(which); });
    timers_[i] = timer;
  }
}

void FrontPanel::windowLoaded() {
  keys_.windowLoaded();
}

QColor FrontPanel::backgroundColour() const {
  if (hooks_.backgroundColour) return hooks_.backgroundColour();
  return window()->palette().color(QPalette::Window);
}

void FrontPanel::repaintKeyColours() {
  const QColor background = backgroundColour();
  const KeyState& state = keys_.state();
  functionKey_->setFaceColour(state.functionShift ? kArmed : background);
  const QColor camera = state.assigning ? kArmed : background;
  for (PanelKey* key : cameraKeys_) key->setFaceColour(camera);
}

void FrontPanel::paintStatusKeys() {
  const QColor background = backgroundColour();
  for (const StatusKey& s : statusKeys_) s.key->setFaceColour(s.red ? kRed : background);
}

void FrontPanel::applyIndicators(const Indicators& indicators) {
  if (indicators.cameraLampLeft) moveCameraLamp(*indicators.cameraLampLeft);
  showLamp(Lamp::Live, indicators.liveLamp);
  showLamp(Lamp::Call, indicators.callLamp);
  showLamp(Lamp::Sequence, indicators.sequenceLamp);
  showLamp(Lamp::Tape, indicators.tapeLamp);
  showLamp(Lamp::Function, indicators.functionLamp);
  const std::array<bool, 5> red{indicators.sixteenPicturesRed, indicators.ninePicturesRed,
                                indicators.fourPicturesRed, indicators.pictureInPictureRed,
                                indicators.zoomRed};
  for (std::size_t i = 0; i < red.size(); ++i) {
    if (statusKeys_[i].red == red[i]) continue;
    statusKeys_[i].red = red[i];
    describe(statusKeys_[i].key);
  }
  paintStatusKeys();
  if (indicators.beep) {
    if (hooks_.beep) {
      hooks_.beep();
    } else {
      QApplication::beep();
    }
  }
}

bool FrontPanel::activateDefaultKey() {
  auto* focused = qobject_cast<PanelKey*>(QApplication::focusWidget());
  if (focused && focused != defaultKey_ && focused->parentWidget() == this) return false;
  defaultKey_->click();
  return true;
}

QWidget* FrontPanel::lampWidget(Lamp lamp) const {
  return lamps_[static_cast<std::size_t>(lamp)];
}

QTimer* FrontPanel::repeatTimer(RepeatTimer timer) const {
  return timers_[static_cast<std::size_t>(timer)];
}

void FrontPanel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    // Keys in the background colour follow the window's new colour.
    repaintKeyColours();
    paintStatusKeys();
  }
}

bool FrontPanel::canSend(std::size_t count) {
  return !hooks_.canSend || hooks_.canSend(count);
}

void FrontPanel::keyPress(std::int16_t code) {
  if (hooks_.keyPress) hooks_.keyPress(code);
}

bool FrontPanel::lampVisible(Lamp lamp) {
  return !lampWidget(lamp)->isHidden();
}

void FrontPanel::hideLamp(Lamp lamp) {
  showLamp(lamp, false);
}

void FrontPanel::showLamp(Lamp lamp, bool lit) {
  QWidget* widget = lampWidget(lamp);
  if (widget->isHidden() != lit) return;
  widget->setVisible(lit);
  widget->setAccessibleDescription(qs(lampDescription(lit)));
}

void FrontPanel::moveCameraLamp(int leftTwips) {
  QWidget* lux = lampWidget(Lamp::Camera);
  lux->move(toPixels(leftTwips), lux->y());
  const int camera = cameraAtLampLeft(leftTwips);
  if (camera == cameraOnMonitor_) return;
  const int before = std::exchange(cameraOnMonitor_, camera);
  if (before > 0) describe(cameraKeys_[before - 1]);
  if (camera > 0) describe(cameraKeys_[camera - 1]);
}

void FrontPanel::describe(PanelKey* key) {
  bool red = false;
  for (const StatusKey& s : statusKeys_) {
    if (s.key == key) red = s.red;
  }
  const layout::KeyEntry& entry = key->entry();
  const bool onMonitor = entry.number > 0 && entry.number == cameraOnMonitor_;
  key->setAccessibleDescription(qs(keyDescription(entry, onMonitor, red)));
}

void FrontPanel::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const PixelGrid grid(p, kTwips);
  const int w = grid.stroke();
  const QColor black = qcolour(layout::kBlack);
  const QTransform logical = p.worldTransform();
  // Pictograms and the camera row's lines on whole device pixels. A line covers the pixels
  // from its first point up to its last, as the device's panel draws it.
  p.setWorldTransform(grid.deviceSpace());
  for (const layout::ShapeEntry& shape : layout::shapes()) {
    fillOutline(p, grid.snap(twips(shape.rect)), w, black, black);
  }
  for (const layout::LineEntry& line : layout::lines()) {
    QRect r = grid.snap(QRectF(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2)).normalized());
    if (line.x1 == line.x2) {
      r.setWidth(w);
    } else {
      r.setHeight(w);
    }
    p.fillRect(r, black);
  }
  // The labels, opaque on the window's face colour: the "camera" label masks Line1 beneath it.
  // Only those in the repainted area, their text being the costly part.
  const QRect exposed = event->rect();
  const QColor face = backgroundColour();
  for (const Caption& c : captions_) {
    if (exposed.intersects(c.rect.toAlignedRect())) p.fillRect(grid.snap(c.twips), face);
  }
  p.setWorldTransform(logical);
  for (const Caption& c : captions_) {
    if (!exposed.intersects(c.rect.toAlignedRect())) continue;
    p.setFont(c.font);
    p.setPen(c.colour);
    p.drawText(c.rect, c.flags, c.text);
  }
}

void FrontPanel::togglePort() {
  if (hooks_.togglePort) hooks_.togglePort();
}

void FrontPanel::showMessage(const std::string& text) {
  // The box takes the mouse: a key held down now would otherwise stay drawn pressed.
  for (PanelKey* key : keysByName_) {
    if (key->isDown()) key->setDown(false);
  }
  const QScopedValueRollback<bool> shown(messageShown_, true);
  if (hooks_.showMessage) hooks_.showMessage(text);
}

void FrontPanel::setRepeatTimer(RepeatTimer timer, bool enabled) {
  QTimer* t = repeatTimer(timer);
  if (!enabled) {
    t->stop();
  } else if (!t->isActive()) {
    t->start();
  }
}

void FrontPanel::keyStateChanged() {
  repaintKeyColours();
}

}  // namespace vqx
