// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The D-Bus interface of the real program, met from outside as an alarm script meets it: the
// program on a pseudo-terminal that this benchmark plays the device on, on the session bus it
// inherits, with XON/XOFF flow control. Prints the time from a SelectCamera call to the command's
// last byte on the line (median and 99th percentile); then a flood of 10,000 calls sent at once
// while the device holds the line with XOFF: how long the program took to answer them all, what
// the callers got back, whether every command that reached the line is whole, and the program's
// resident memory before and after.
//
//   bench_dbus VQX16 [calls]     (default 300)
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_line.h"
#include "panel/command_parser.h"
#include "panel/commands.h"
#include "status/status_frame.h"

namespace {

const QString kName = QStringLiteral("org.vqx16.vqx16");
const QString kPath = QStringLiteral("/org/vqx16/vqx16");
const QString kInterface = QStringLiteral("org.vqx16.vqx16.Panel1");

QDBusMessage selectCamera(int camera) {
  QDBusMessage call = QDBusMessage::createMethodCall(kName, kPath, kInterface, "SelectCamera");
  call << camera;
  return call;
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

long residentKb(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (QByteArray line; !(line = status.readLine()).isEmpty();) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return 0;
}

bool linkOpen(const QDBusConnection& bus) {
  QDBusMessage get = QDBusMessage::createMethodCall(kName, kPath,
                                                    "org.freedesktop.DBus.Properties", "Get");
  get << kInterface << QStringLiteral("LinkState");
  const QDBusReply<QVariant> state = bus.call(get, QDBus::Block, 1000);
  return state.isValid() && state.value().toString() == QLatin1String("open");
}

// Hears when the program shows camera 9.
class CameraWatch : public QObject {
  Q_OBJECT
 public:
  QElapsedTimer* clock = nullptr;
  double shownAt = -1;  // ms after the frame was sent
 public slots:
  void changed(const QString&, const QVariantMap& values, const QStringList&) {
    if (clock && shownAt < 0 && values.value("Camera").toInt() == 9) {
      shownAt = double(clock->nsecsElapsed()) / 1e6;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int calls = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
  QDBusConnection bus = QDBusConnection::sessionBus();
  vqx::bench::BenchLine line;
  QTemporaryDir dir;
  if (argc < 2 || !bus.isConnected() || !line.isOpen() || !dir.isValid()) {
    std::fprintf(stderr, "usage: bench_dbus VQX16 [calls], on a session bus\n");
    return 1;
  }
  QDir().mkpath(dir.filePath("VQX16"));
  QFile conf(dir.filePath("VQX16/VQX16.conf"));
  QFile ini(dir.filePath("VQX16/VQX.ini"));
  if (!conf.open(QIODevice::WriteOnly) || !ini.open(QIODevice::WriteOnly)) return 1;
  conf.write(QStringLiteral("[Ports]\nCom1=%1\n[Properties]\nHandshaking=1\n")
                 .arg(QString::fromStdString(line.path()))
                 .toUtf8());
  ini.write(" 0 \r\n 0 \r\n" VQX16_SOURCE_DIR "/lang/English.lng\r\n");
  conf.close();
  ini.close();

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", dir.path());
  env.insert("XDG_STATE_HOME", dir.path());
  if (!env.contains("QT_QPA_PLATFORM")) env.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(QString::fromLocal8Bit(argv[1]), {});
  QElapsedTimer started;
  started.start();
  while (!linkOpen(bus) && started.elapsed() < 20000) QThread::msleep(20);
  if (!linkOpen(bus)) {
    std::fprintf(stderr, "the program did not offer an open link on the bus\n");
    return 1;
  }

  std::vector<double> ms;
  for (int i = 0; i < calls; ++i) {
    const int camera = 5 + i % 2;
    QElapsedTimer clock;
    clock.start();
    QDBusPendingCall reply = bus.asyncCall(selectCamera(camera));
    const std::string got = line.read(3, 2000);
    ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    reply.waitForFinished();
    if (got != vqx::command::cameraPlain(camera)) {
      std::fprintf(stderr, "camera %d: the line got %zu bytes\n", camera, got.size());
      return 1;
    }
  }
  std::printf("SelectCamera to the last byte on the line: median %.3f ms, p99 %.3f ms (%d calls)\n",
              percentile(ms, 0.5), percentile(ms, 0.99), calls);

  // The device holds the line: nothing drains, and the send queue fills.
  constexpr int kFlood = 10000;
  (void)::write(line.deviceFd(), "\x13", 1);
  QThread::msleep(100);
  const long before = residentKb(program.processId());
  QElapsedTimer clock;
  clock.start();
  std::vector<QDBusPendingCall> pending;
  pending.reserve(kFlood);
  for (int i = 0; i < kFlood; ++i) pending.push_back(bus.asyncCall(selectCamera(1 + i % 16)));
  // Half-way through the answers the device reports camera 9: how soon the program shows it
  // tells whether the calls leave its event loop (and so its window) room for anything else.
  QMap<QString, int> answers;
  QElapsedTimer frameClock;
  CameraWatch watch;
  bus.connect(kName, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged", &watch,
              SLOT(changed(QString, QVariantMap, QStringList)));
  double answeredMs = 0;
  for (std::size_t done = 0; done < pending.size() || (watch.shownAt < 0 && frameClock.elapsed() < 5000);) {
    QCoreApplication::processEvents();
    for (; done < pending.size() && pending[done].isFinished(); ++done) {
      const QDBusPendingCall& call = pending[done];
      answers[call.isError() ? call.error().name().section('.', -1) : QStringLiteral("done")] += 1;
      if (done == pending.size() / 2) {
        const vqx::StatusFrame frame = vqx::encodeStatusFrame({.camera = 9});
        (void)::write(line.deviceFd(), frame.data(), frame.size());
        frameClock.start();
        watch.clock = &frameClock;
      }
    }
    if (done == pending.size() && answeredMs == 0) answeredMs = double(clock.nsecsElapsed()) / 1e6;
  }
  const long after = residentKb(program.processId());
  (void)::write(line.deviceFd(), "\x11", 1);
  vqx::CommandParser parser;
  const auto commands = parser.feed(line.readFor(2000));
  QString tally;
  for (auto it = answers.cbegin(); it != answers.cend(); ++it) {
    tally += QStringLiteral("%1 %2, ").arg(it.value()).arg(it.key());
  }
  tally.chop(2);
  std::printf("Flood of %d calls: all answered in %.0f ms (%s); %zu whole commands on the line, "
              "%zu bytes of broken ones; resident memory %.1f MB before, %.1f MB after; a frame "
              "half-way through shown in %.1f ms\n",
              kFlood, answeredMs, qPrintable(tally), commands.size(), parser.ignoredBytes(),
              double(before) / 1024, double(after) / 1024, watch.shownAt);
  program.terminate();
  program.waitForFinished(5000);
  return 0;
}

#include "bench_dbus.moc"
