// A port mapped by a bare device name ("ttyUSB0", meaning /dev/ttyUSB0) is found where
// QSerialPort finds it, both when it opens and when the control checks that it is still there.
#include <gtest/gtest.h>

#include <QTest>

#include "qt/serial/qt_serial_control.h"
#include "qt/support/pseudo_terminal.h"
#include "support/fakes.h"

namespace vqx {
namespace {

TEST(PortLocation, BareDeviceNameOpensAndStaysOpen) {
  testing::PseudoTerminal pty;
  ASSERT_TRUE(pty.isOpen());
  ASSERT_EQ(pty.path().rfind("/dev/", 0), 0u) << pty.path();
  testing::FakeSettingsStore store;
  store.setValue(kAppTitle, "Ports", "Com1", pty.path().substr(5));  // "pts/N"
  QtSerialControl control(store);
  int lost = 0;
  control.setOnDeviceLost([&](const std::string&) { ++lost; });

  ASSERT_TRUE(control.setPortOpen(true));
  QTest::qWait(1300);  // past the control's once-a-second check that the device is there
  EXPECT_TRUE(control.portOpen());
  EXPECT_EQ(lost, 0);
  EXPECT_TRUE(control.output("ok"));
  EXPECT_EQ(pty.read(2), "ok");
}

TEST(PortLocation, AbsentDeviceFailsWithTheSystemsDescription) {
  testing::FakeSettingsStore store;
  for (const char* name : {"/dev/vqx16-absent", "vqx16-absent"}) {
    store.setValue(kAppTitle, "Ports", "Com1", name);
    QtSerialControl control(store);
    const Result r = control.setPortOpen(true);
    ASSERT_FALSE(r) << name;
    EXPECT_EQ(r.error(), std::string(name) + ": No such file or directory");
    EXPECT_FALSE(control.portOpen());
  }
}

}  // namespace
}  // namespace vqx
