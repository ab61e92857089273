// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The port settings dialog and the About box as the operator uses them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "qt/dialogs/about_box.h"
#include "qt/dialogs/port_settings_dialog.h"
#include "qt/serial/port_devices.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

template <typename T = QWidget>
T* find(QWidget* parent, const char* name) {
  return parent->findChild<T*>(QString::fromLatin1(name));
}

// The dialog on the real serial control: Com1 and Com2 on pseudo-terminals, Com6 on a device
// that is absent.
class PropertiesWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    store.setValue(kAppTitle, "Ports", "Com1", com1.path());
    store.setValue(kAppTitle, "Ports", "Com2", com2.path());
    store.setValue(kAppTitle, "Ports", "Com6", "/dev/vqx16-absent");
    store.writes.clear();
  }
  void TearDown() override { delete dialog.data(); }
  void open() {
    dialog = new PortSettingsDialog(serial, store, prompts, echo,
                                    [this](bool on) { marks.push_back(on); });
    dialog->show();
  }
  // What the dialog shows: the four line-format lists, the port, and the checked options.
  std::string shown() {
    std::string s;
    for (const char* list : {"cboSpeed", "cboParity", "cboDataBits", "cboStopBits", "cboPort"})
      s += find<QComboBox>(dialog, list)->currentText().toStdString() + " ";
    for (const char* option :
         {"optFlow_0", "optFlow_1", "optFlow_2", "optFlow_3", "optEcho_0", "optEcho_1"})
      if (find<QRadioButton>(dialog, option)->isChecked()) s += option;
    return s;
  }
  void click(const char* name) {
    auto* b = find<QAbstractButton>(dialog, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  testing::PseudoTerminal com1, com2;
  testing::FakeSettingsStore store;
  QtSerialControl serial{store};
  testing::FakePrompts prompts;
  bool echo = false;
  std::vector<bool> marks;
  QPointer<PortSettingsDialog> dialog;
};

TEST_F(PropertiesWindow, OkAppliesTheChoicesAndClosesAFailureKeepsItOpenCancelChangesNothing) {
  ASSERT_TRUE(serial.setHandshaking(2));
  open();
  EXPECT_EQ(shown(), "9600 None 8 1 Com1 optFlow_2optEcho_0");
  click("cmdOK");  // nothing changed: the flow control stays what it was
  EXPECT_EQ(store.writes.at(2), "Properties/Handshaking=2");
  store.writes.clear();
  ASSERT_TRUE(serial.setPortOpen(true));
  open();
  find<QComboBox>(dialog, "cboPort")->setCurrentIndex(1);
  find<QComboBox>(dialog, "cboSpeed")->setCurrentText("19200");
  find<QComboBox>(dialog, "cboParity")->setCurrentText("Odd");
  click("optFlow_1");
  click("optEcho_1");
  click("cmdOK");
  EXPECT_TRUE(dialog.isNull());
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"Properties/Settings=19200,o,8,1", "Properties/CommPort=2",
                                      "Properties/Handshaking=1", "Properties/Echo=True"}));
  EXPECT_EQ(marks, std::vector<bool>{true});

  open();
  find<QComboBox>(dialog, "cboPort")->setCurrentIndex(5);
  click("cmdOK");
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(shown(), "19200 Odd 8 1 Com6 optFlow_1optEcho_1");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "Com6 (/dev/vqx16-absent) does not exist. Connect the adapter, or choose another port "
            "under Port > Properties.");

  find<QComboBox>(dialog, "cboSpeed")->setCurrentText("300");
  click("optEcho_0");
  click("cmdCancel");
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(echo);
  EXPECT_EQ(serial.settings(), "19200,o,8,1");
  EXPECT_EQ(store.writes.size(), 4u);
}

// The Device button maps Com1, open on one line, to what is typed: what leads to no serial line
// is refused, nothing stored; a line is taken, shown absent when gone, given back to its default,
// taken again at its new name; OK then moves the open port to it.
TEST_F(PropertiesWindow, DeviceButtonMapsAPortToALineAndOkOpensIt) {
  QTemporaryDir dir;
  QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
  ASSERT_TRUE(serial.setPortOpen(true));
  open();
  auto* ports = find<QComboBox>(dialog, "cboPort");
  const auto outcome = [&](const std::string& typed, const char* button = "cmdDeviceOK") {
    prompts.shown.clear();
    QTimer::singleShot(0, [&] {
      QWidget* device = QApplication::activeModalWidget();
      find<QComboBox>(device, "cboDevice")->setEditText(QString::fromStdString(typed));
      find<QPushButton>(device, button)->click();
      if (device->isVisible()) find<QPushButton>(device, "cmdDeviceCancel")->click();
    });
    find<QPushButton>(dialog, "cmdDevice")->click();
    return prompts.shown.empty() ? find<QLabel>(dialog, "lblPortDevice")->text().toStdString()
                                 : prompts.shown[0].text;
  };
  const std::string folder = dir.path().toStdString(), file = folder + "/file";
  const std::string fd = "/dev/fd/" + std::to_string(com1.terminalFd());
  EXPECT_EQ(outcome(folder), folder + " is a folder, not a serial device.");
  EXPECT_EQ(outcome(file), file + " is a regular file, not a serial device.");
  EXPECT_EQ(outcome("/dev/null"),
            "/dev/null is not a serial device: the system counts it among its \"mem\" devices.");
  EXPECT_EQ(outcome("/dev/tty"),
            "/dev/tty stands for the terminal of the program that opens it, not a serial device.");
  EXPECT_TRUE(outcome("/dev/ptmx").starts_with("/dev/ptmx makes a new pseudo-terminal"));
  EXPECT_EQ(outcome(fd), fd + " leads into /proc, the system's view of running programs, not to "
                              "a serial device.");
  EXPECT_EQ(outcome(com2.path() + "\n[Properties]"),
            "A device path cannot hold a line break or another control character.");
  EXPECT_EQ(store.writes, std::vector<std::string>()) << "nothing stored";
  EXPECT_EQ(outcome(com2.path()), "Com1: present - " + com2.path());
  com2.closeDevice();
  ports->setCurrentIndex(1);
  ports->setCurrentIndex(0);
  EXPECT_EQ(find<QLabel>(dialog, "lblPortDevice")->text().toStdString(),
            "Com1: absent - " + com2.path());
  EXPECT_TRUE(outcome("", "cmdDefault").ends_with(" - /dev/ttyS0"));
  ASSERT_TRUE(com2.reopen());
  EXPECT_EQ(outcome(com2.path()), "Com1: present - " + com2.path());
  EXPECT_EQ(store.writes.size(), 3u) << "the line taken, its default, the line again";
  EXPECT_EQ(store.value(kAppTitle, "Ports", "Com1"), com2.path());
  find<QPushButton>(dialog, "cmdOK")->click();
  EXPECT_TRUE(serial.portOpen() && serial.deviceName().toStdString() == com2.path());
  // A device chosen by any path is stored by its stable name, the link in /dev/serial/by-id that
  // leads to it, when it has one; else by the path.
  const QString link = dir.filePath("usb-FTDI_FT232R_USB_UART_A600-if00-port0");
  ASSERT_TRUE(QFile::link(QString::fromStdString(com2.path()), link));
  const DeviceLook look(dir.path());
  EXPECT_EQ(look.stableName(QString::fromStdString(com2.path())), link);
  EXPECT_EQ(look.stableName("/dev/ttyS7"), "/dev/ttyS7");
}

TEST(AboutBox, ShowsItsPictureOffersSystemInfoAndClosesOnEnterOrEscape) {
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
    testing::FakePrompts prompts;
    QPointer<AboutBox> about = new AboutBox(prompts);
    about->show();
    EXPECT_EQ(find<QLabel>(about, "picIcon")->pixmap().size(), QSize(128, 41));
    QTest::mouseClick(find<QPushButton>(about, "cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "System Information Is Unavailable At This Time");
    QTest::keyClick(find<QPushButton>(about, "cmdOK"), key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
  }
}

}  // namespace
}  // namespace vqx
