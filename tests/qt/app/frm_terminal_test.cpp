// The main window's life with fake adapters: startup decisions, the settings file, the close
// sequence and the Exit command.
#include "qt/app/frm_terminal.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "qt/app/terminal_text_box.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

class MainWindow : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FakeSerialControl serial;
  FakeSettingsStore store;
  FakePrompts prompts;
  testing::SteppingPump pump;  // ten seconds pass in ten waits
  int ended = 0;
  std::unique_ptr<frmTerminal> window;

  QString iniPath() const { return dir.filePath("VQX.ini"); }
  void writeIni(const QByteArray& bytes) {
    QFile f(iniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray readIni() const {
    QFile f(iniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  frmTerminal& load() {
    window = std::make_unique<frmTerminal>(
        TerminalDependencies{serial, store, prompts, iniPath(), [this] { ++ended; }, {}, &pump});
    window->Form_Load();
    return *window;
  }
  bool checked() const { return window->findChild<QAction*>("mnuOpen")->isChecked(); }
};

TEST_F(MainWindow, HasTheTitleAndMenuBar) {
  load();
  EXPECT_EQ(window->windowTitle(), "VQX16");
  for (const char* name : {"mnuFileExit", "mnuOpen", "mnuProperties", "Language", "Info"}) {
    EXPECT_NE(window->findChild<QAction*>(name), nullptr) << name;
  }
  EXPECT_EQ(window->findChild<QAction*>("mnuOpen")->text(), "&Apri Porta");
  EXPECT_EQ(window->PipFunctionStep(), 1);
}

TEST_F(MainWindow, StartupRestoresPositionAndLanguageAndOpensThePort) {
  writeIni(" 3000 \r\n 2000 \r\n/lang/English.lng\r\n");
  load();
  EXPECT_EQ(window->LanguageFile(), "/lang/English.lng");
  EXPECT_EQ(window->leftTwips(), 3000);
  EXPECT_EQ(window->topTwips(), 2000);
  EXPECT_TRUE(serial.open);
  EXPECT_TRUE(checked());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindow, WithoutALanguageThePositionIsIgnoredButThePortOpens) {
  for (const QByteArray& ini :
       {QByteArray(" 3000 \r\n 2000 \r\n\r\n"), QByteArray(" 30 \r\n 20 \r\n"), QByteArray(),
        QByteArray("\xff\xfe\x00\x01", 4)}) {
    writeIni(ini);
    serial.open = false;
    load();
    EXPECT_EQ(window->LanguageFile(), "");
    EXPECT_NE(window->leftTwips(), 3000);
    EXPECT_TRUE(serial.open);
  }
  QFile::remove(iniPath());
  serial.open = false;
  load();
  EXPECT_TRUE(serial.open);
}

TEST_F(MainWindow, PositionOffEveryScreenKeepsTheWindowCentred) {
  writeIni(" 9000000 \r\n -9000000 \r\n/lang/English.lng\r\n");
  load();
  EXPECT_EQ(window->LanguageFile(), "/lang/English.lng");
  EXPECT_NE(QGuiApplication::screenAt(window->frameGeometry().center()), nullptr);
}

TEST_F(MainWindow, RejectedStoredSettingsStopTheStartup) {
  writeIni(" 3000 \r\n 2000 \r\n/lang/English.lng\r\n");
  store.put("Settings", "fast,please");
  store.put("Echo", "True");
  load();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_FALSE(serial.open);
  EXPECT_FALSE(window->Echo());
  EXPECT_EQ(window->LanguageFile(), "");
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, PortThatWillNotOpenIsReportedOnce) {
  serial.failOpen = "Device or resource busy";
  load();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Device or resource busy");
  EXPECT_FALSE(checked());
}

TEST_F(MainWindow, KeyPressSendsOnlyWithThePortOpen) {
  load();
  std::int16_t code = 'A';
  window->txtTerm_KeyPress(code);
  EXPECT_EQ(serial.written, "A");
  EXPECT_EQ(code, 0);
  window->TogglePort();
  EXPECT_FALSE(checked());
  code = 'B';
  window->txtTerm_KeyPress(code);
  EXPECT_EQ(serial.written, "A");
  EXPECT_EQ(code, 'B');
}

TEST_F(MainWindow, TypingIntoTheTerminalBoxFollowsEcho) {
  store.put("Echo", "True");
  load();
  QTest::keyClicks(window->txtTerm(), "ab");
  EXPECT_EQ(serial.written, "ab");
  EXPECT_EQ(window->txtTerm()->box().text(), "ab");
  window->TogglePort();
  QTest::keyClicks(window->txtTerm(), "c");
  EXPECT_EQ(window->txtTerm()->box().text(), "abc");  // closed port: typed like a text box
}

TEST_F(MainWindow, SettingsFileHoldsPositionAndLanguage) {
  writeIni(" 3000 \r\n 2000 \r\n/lang/English.lng\r\n");
  load();
  window->moveToTwips(4500, 1500);
  window->TimerMove_Timer();
  EXPECT_EQ(readIni(), " 4500 \r\n 1500 \r\n/lang/English.lng\r\n");
  const int writes = window->settingsFile().writes();
  window->TimerMove_Timer();
  EXPECT_EQ(window->settingsFile().writes(), writes);  // nothing changed: no write
  QFile::remove(iniPath());
  window->TimerMove_Timer();  // removed behind our back: written again
  EXPECT_EQ(readIni(), " 4500 \r\n 1500 \r\n/lang/English.lng\r\n");
}

TEST_F(MainWindow, SaveIntoAMissingFolderFailsSilently) {
  window = std::make_unique<frmTerminal>(TerminalDependencies{
      serial, store, prompts, dir.filePath("no/such/folder/VQX.ini"), [this] { ++ended; }});
  window->Form_Load();
  window->TimerMove_Timer();
  EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/VQX.ini")));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindow, ExitDropsQueuedOutputAndEndsAtOnce) {
  load();
  serial.queued = 100;
  window->mnuFileExit_Click();
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(serial.open);
  EXPECT_FALSE(checked());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindow, CloseWaitsForOutputAndAbortKeepsEverything) {
  load();
  serial.queued = 100;
  prompts.answers = {PromptAnswer::Abort};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(ended, 0);
  EXPECT_TRUE(serial.open);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Data cannot be sent");
  EXPECT_EQ(pump.waits, 10);

  serial.queued = 0;
  EXPECT_TRUE(window->close());
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(serial.open);
}

TEST_F(MainWindow, LostDeviceIsReportedOnceAndTheMarkCleared) {
  load();
  ASSERT_TRUE(checked());
  serial.loseDevice("The device has vanished");
  EXPECT_FALSE(checked());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
}

}  // namespace
}  // namespace vqx
