// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/traffic_monitor_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/captions.h"
#include "qt/traffic/traffic_recorder.h"

namespace vqx {
namespace {

// Lines arriving at a high rate are shown together, at most this often.
constexpr int kShowMs = 250;

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

TrafficMonitorWindow::TrafficMonitorWindow(TrafficRecorder& recorder, QWidget* parent)
    : QWidget(parent, Qt::Window), recorder_(recorder) {
  setObjectName(QStringLiteral("frmMonitor"));
  setWindowTitle(QString::fromUtf8(caption::kMonitorTitle));
  setAttribute(Qt::WA_DeleteOnClose);

  list_ = named(new QPlainTextEdit, "lstTraffic");
  list_->setReadOnly(true);
  list_->setMaximumBlockCount(kMonitorLines);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setMinimumSize(640, 320);
  pause_ = named(new QPushButton(QString::fromUtf8(caption::kPause)), "cmdPause");
  pause_->setCheckable(true);
  auto* clear = named(new QPushButton(QString::fromUtf8(caption::kClear)), "cmdClear");
  auto* copy = named(new QPushButton(QString::fromUtf8(caption::kCopyAll)), "cmdCopy");
  log_ = named(new QCheckBox(QString::fromUtf8(caption::kKeepLog)), "chkLog");
  log_->setChecked(recorder_.logEnabled());

  auto* buttons = new QHBoxLayout;
  for (QWidget* w :
       {static_cast<QWidget*>(pause_), static_cast<QWidget*>(clear), static_cast<QWidget*>(copy)}) {
    buttons->addWidget(w);
  }
  buttons->addStretch();
  buttons->addWidget(log_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);

  connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
    pause_->setText(QString::fromUtf8(paused ? caption::kResume : caption::kPause));
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    held_.clear();
    list_->clear();
  });
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(lines().join('\n')); });
  connect(log_, &QCheckBox::toggled, &recorder_, &TrafficRecorder::setLogEnabled);
  connect(&recorder_, &TrafficRecorder::logStopped, this, [this] { log_->setChecked(false); });
  connect(&recorder_, &TrafficRecorder::line, this, &TrafficMonitorWindow::addLine);
  show_.setSingleShot(true);
  show_.setInterval(kShowMs);
  connect(&show_, &QTimer::timeout, this, &TrafficMonitorWindow::showHeld);
  recorder_.setWatched(true);
}

TrafficMonitorWindow::~TrafficMonitorWindow() {
  recorder_.setWatched(false);
}

QStringList TrafficMonitorWindow::lines() const {
  QStringList shown = list_->toPlainText().split('\n', Qt::SkipEmptyParts);
  return shown + held_;
}

void TrafficMonitorWindow::addLine(const QString& text) {
  if (pause_->isChecked()) return;
  held_.append(text);
  if (held_.size() > kMonitorLines) held_.removeFirst();
  if (!show_.isActive()) show_.start();
}

void TrafficMonitorWindow::showHeld() {
  if (held_.isEmpty()) return;
  list_->appendPlainText(held_.join('\n'));
  held_.clear();
}

}  // namespace vqx
