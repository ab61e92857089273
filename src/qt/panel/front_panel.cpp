#include "qt/panel/front_panel.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "qt/app/qt_prompts.h"
#include "qt/panel/panel_widgets.h"

namespace vqx {

namespace {

using layout::toPixels;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const layout::Rect& r) {
  return {toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height)};
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
  Timer3_Timer();
  paintStatusKeys();
}

FrontPanel::~FrontPanel() = default;

void FrontPanel::build() {
  // Pictograms and labels first, so the keys and lamps lie above them.
  for (const layout::ShapeSpec& entry : layout::shapes()) {
    auto* shape = new PanelShape(this);
    shape->setObjectName(qs(entry.name));
    shape->setGeometry(pixels(entry.rect));
  }
  for (const layout::LineSpec& entry : layout::lines()) {
    auto* line = new PanelLine(QPoint(toPixels(entry.x1), toPixels(entry.y1)),
                               QPoint(toPixels(entry.x2), toPixels(entry.y2)), this);
    line->setObjectName(qs(entry.name));
  }
  for (const layout::LabelSpec& entry : layout::labels()) {
    auto* label = new QLabel(this);
    label->setObjectName(qs(entry.name));
    label->setTextFormat(Qt::PlainText);
    label->setText(qs(entry.caption));
    label->setGeometry(pixels(entry.rect));
    label->setFont(fittedFont(panelFont(entry.font), label->text(), label->width()));
    label->setAlignment(Qt::AlignTop |
                        (entry.align == layout::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, qcolour(entry.colour));
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

  std::vector<std::pair<int, PanelKey*>> focusChain;
  for (const layout::KeySpec& entry : layout::keys()) {
    auto* key = new PanelKey(this);
    const QString name = qs(entry.name);
    key->setObjectName(name);
    key->setGeometry(pixels(entry.rect));
    key->setToolTip(qs(entry.toolTip));
    key->setAccessibleName(qs(entry.accessibleName));
    key->setAccessibleDescription(qs(entry.toolTip));
    key->setFocusPolicy(Qt::StrongFocus);
    // A key with the focus takes Enter itself, as a dialog's buttons do.
    key->setAutoDefault(true);
    keysByName_.insert(name, key);
    focusChain.emplace_back(entry.focusOrder, key);

    switch (entry.action) {
      case layout::KeyAction::Press:  // FunctionA
        functionKey_ = key;
        connect(key, &PanelKey::mouseDown, this, [this](Qt::MouseButton b) {
          if (const auto button = panelButton(b)) keys_.FunctionA_MouseDown(*button);
        });
        break;
      case layout::KeyAction::PressRelease: {
        ScreenKey screen = ScreenKey::Pip;
        for (const ScreenKeySpec& s : screenKeySpecs()) {
          if (s.name == entry.name) screen = s.key;
        }
        connect(key, &PanelKey::mouseDown, this, [this, screen](Qt::MouseButton b) {
          if (const auto button = panelButton(b)) keys_.Screen_MouseDown(screen, *button);
        });
        connect(key, &PanelKey::mouseUp, this,
                [this, screen](Qt::MouseButton) { keys_.Screen_MouseUp(screen); });
        break;
      }
      case layout::KeyAction::Click:
        if (entry.role == layout::KeyRole::Camera) {
          cameraKeys_[entry.number - 1] = key;
          const int n = entry.number;
          connect(key, &QAbstractButton::clicked, this, [this, n] { keys_.Camera_Click(n); });
        } else if (entry.name == "FullScreen") {
          connect(key, &QAbstractButton::clicked, this, [this] { keys_.FullScreen_Click(); });
        } else if (entry.name == "Live") {
          connect(key, &QAbstractButton::clicked, this, [this] { keys_.Live_Click(); });
        } else if (entry.name == "Tape") {
          connect(key, &QAbstractButton::clicked, this, [this] { keys_.Tape_Click(); });
        } else if (entry.name == "Sequence") {
          connect(key, &QAbstractButton::clicked, this, [this] { keys_.Sequence_Click(); });
        } else if (entry.name == "Call") {
          connect(key, &QAbstractButton::clicked, this, [this] { keys_.Call_Click(); });
        }
        break;
    }
  }
  defaultKey_ = key(QStringLiteral("Uno"));
  defaultKey_->setDefault(true);
  statusKeys_ = {
      StatusKey{key(QStringLiteral("SediciScreen"))}, StatusKey{key(QStringLiteral("NoveScreen"))},
      StatusKey{key(QStringLiteral("QuattroScreen"))}, StatusKey{key(QStringLiteral("Pip"))},
      StatusKey{key(QStringLiteral("FullScreen"))}};

  std::sort(focusChain.begin(), focusChain.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusChain.size(); ++i) {
    QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
  }

  for (const layout::LampSpec& entry : layout::lamps()) {
    auto* lamp = new PanelLamp(qcolour(entry.fill), this);
    lamp->setObjectName(qs(entry.name));
    lamp->setAccessibleName(qs(entry.accessibleName));
    lamp->setGeometry(pixels(entry.rect));
    lamp->setVisible(entry.visibleAtStart);
    for (std::size_t i = 0; i < kLampNames.size(); ++i) {
      if (entry.name == kLampNames[i]) lamps_[i] = lamp;
    }
  }

  for (std::size_t i = 0; i < timers_.size(); ++i) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(kTimerNames[i]));
    timer->setInterval(kRepeatInterval);
    timer->setTimerType(Qt::PreciseTimer);
    const auto which = static_cast<RepeatTimer>(i);
    connect(timer, &QTimer::timeout, this, [this, which] { keys_.Repeat_Timer(which); });
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

void FrontPanel::Timer3_Timer() {
  const QColor background = backgroundColour();
  const KeyState& state = keys_.state();
  functionKey_->setFaceColour(state.FunctionOn ? kArmed : background);
  const QColor camera = state.AssignOn ? kArmed : background;
  for (PanelKey* key : cameraKeys_) key->setFaceColour(camera);
}

void FrontPanel::paintStatusKeys() {
  const QColor background = backgroundColour();
  for (const StatusKey& s : statusKeys_) s.key->setFaceColour(s.red ? kRed : background);
}

void FrontPanel::applyIndicators(const Indicators& indicators) {
  if (indicators.cameraLampLeft) moveCameraLamp(*indicators.cameraLampLeft);
  lampWidget(Lamp::Lux2)->setVisible(indicators.liveLamp);
  lampWidget(Lamp::Lux3)->setVisible(indicators.callLamp);
  lampWidget(Lamp::Lux4)->setVisible(indicators.sequenceLamp);
  lampWidget(Lamp::Lux5)->setVisible(indicators.tapeLamp);
  lampWidget(Lamp::Lux6)->setVisible(indicators.functionLamp);
  statusKeys_[0].red = indicators.sediciScreenRed;
  statusKeys_[1].red = indicators.noveScreenRed;
  statusKeys_[2].red = indicators.quattroScreenRed;
  statusKeys_[3].red = indicators.pipRed;
  statusKeys_[4].red = indicators.fullScreenRed;
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
    Timer3_Timer();
    paintStatusKeys();
  }
}

void FrontPanel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    activateDefaultKey();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FrontPanel::keyPress(std::int16_t code) {
  if (hooks_.keyPress) hooks_.keyPress(code);
}

bool FrontPanel::lampVisible(Lamp lamp) {
  return !lampWidget(lamp)->isHidden();
}

void FrontPanel::hideLamp(Lamp lamp) {
  lampWidget(lamp)->hide();
}

void FrontPanel::moveCameraLamp(int leftTwips) {
  QWidget* lux = lampWidget(Lamp::Lux);
  lux->move(toPixels(leftTwips), lux->y());
}

void FrontPanel::togglePort() {
  if (hooks_.togglePort) hooks_.togglePort();
}

void FrontPanel::showMessage(const std::string& text) {
  // The box takes the mouse: a key held down now would otherwise stay drawn pressed.
  for (PanelKey* key : keysByName_) {
    if (key->isDown()) key->setDown(false);
  }
  if (hooks_.showMessage) {
    hooks_.showMessage(text);
    return;
  }
  QtPrompts(this).message(text);
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
  Timer3_Timer();
}

}  // namespace vqx
