// The port settings dialog's OK on the real serial control, the ports mapped to
// pseudo-terminals through "Ports".
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "qt/dialogs/frm_properties.h"
#include "qt/serial/qt_serial_control.h"
#include "qt/support/pseudo_terminal.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::PseudoTerminal;

struct PropertiesOnLine : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    store.setValue(kAppTitle, "Ports", "Com1", first.path());
    store.setValue(kAppTitle, "Ports", "Com2", second.path());
    store.setValue(kAppTitle, "Ports", "Com3", "/nonexistent/ttyVQX16");
    ASSERT_TRUE(serial.setPortOpen(true));
    dialog = new frmProperties(serial, store, prompts, echo, [this](bool on) { checked = on; });
    dialog->show();
  }
  void TearDown() override { delete dialog; }

  // Picks port n in the list and presses OK.
  void okWithPort(int n) {
    dialog->findChild<QComboBox*>("cboPort")->setCurrentIndex(n - 1);
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  }

  PseudoTerminal first, second;
  testing::FakeSettingsStore store;
  testing::FakePrompts prompts;
  QtSerialControl serial{store};
  bool echo = false;
  bool checked = true;
  QPointer<frmProperties> dialog;
};

TEST_F(PropertiesOnLine, AnotherPortClosesTheOpenOneAndOpensTheNew) {
  okWithPort(2);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(serial.portOpen());
  EXPECT_EQ(serial.commPort(), 2);
  EXPECT_TRUE(checked);
  ASSERT_TRUE(serial.output("/05"));
  EXPECT_EQ(second.read(3), "/05");
  EXPECT_EQ(first.readFor(50), "");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "CommPort"), "2");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Settings"), "9600,n,8,1");
  QTest::qWait(10);
  EXPECT_TRUE(dialog.isNull());  // closed and gone
}

TEST_F(PropertiesOnLine, APortThatWillNotOpenPutsTheNumberBackAndLeavesThePortClosed) {
  okWithPort(3);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
  EXPECT_EQ(serial.commPort(), 1);
  EXPECT_FALSE(serial.portOpen());
  EXPECT_FALSE(checked);
  EXPECT_EQ(store.writes.size(), 3u);  // only the three "Ports" entries of the set-up
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
}  // namespace vqx
