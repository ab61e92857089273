// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with fake adapters: the startup's decisions, the language chooser at first
// start, the menus, where Enter goes, the settings file, and how the program ends.
#include "qt/app/frm_terminal.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "qt/app/terminal_text_box.h"
#include "qt/dialogs/frm_language_chooser.h"
#include "qt/panel/front_panel.h"
#include "qt/panel/panel_widgets.h"
#include "support/fakes.h"

namespace vqx {
namespace {

const std::string kEnglish = VQX16_SOURCE_DIR "/lang/English.lng";

class MainWindow : public ::testing::Test {
 protected:
  void TearDown() override { delete chooser(); }
  void writeIni(const std::string& text) {
    QFile f(dir.filePath("VQX.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.c_str());
  }
  QByteArray ini() const {
    QFile f(dir.filePath("VQX.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
  }
  frmTerminal& load(const QString& iniPath = {}) {
    window.reset();
    window = std::make_unique<frmTerminal>(
        TerminalDependencies{serial,
                             store,
                             prompts,
                             iniPath.isEmpty() ? dir.filePath("VQX.ini") : iniPath,
                             [this] { ++ended; },
                             {},
                             &pump});
    window->Form_Load();
    return *window;
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(name); }
  static frmSceltaLingua* chooser() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* c = qobject_cast<frmSceltaLingua*>(w)) return c;
    }
    return nullptr;
  }

  QTemporaryDir dir;
  testing::FakeSerialControl serial;
  testing::FakeSettingsStore store;
  testing::FakePrompts prompts;
  testing::SteppingPump pump;  // ten seconds pass in ten waits
  int ended = 0;
  std::unique_ptr<frmTerminal> window;
};

TEST_F(MainWindow, StartupRestoresPositionAndLanguageOrAsksForALanguageAndOpensThePort) {
  const struct {
    std::string ini;
    const char* settings;  // stored "Settings"
    bool portFails;
    const char* outcome;
  } cases[] = {
      {" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n", "", false,
       "window at 3000,2000, E&xit, port open, 0 reports"},
      {" 3000 \r\n 2000 \r\n\r\n", "", false, "chooser, E&sci, port open, 0 reports"},
      {" 30 \r\n 20 \r\n", "", false, "chooser, E&sci, port open, 0 reports"},
      {"", "", false, "chooser, E&sci, port open, 0 reports"},
      {" 9000000 \r\n -9000000 \r\n" + kEnglish + "\r\n", "", false,
       "window centred, E&xit, port open, 0 reports"},
      {" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n", "fast,please", false,
       "window centred, E&sci, port closed, 1 reports"},
      {" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n", "", true,
       "window at 3000,2000, E&xit, port closed, 1 reports"},
  };
  for (const auto& c : cases) {
    writeIni(c.ini);
    store.put("Settings", c.settings);
    store.put("Echo", "True");
    serial = {};
    if (c.portFails) serial.failOpen = "busy";
    prompts.shown.clear();
    load();
    std::string outcome;
    if (chooser() && chooser()->isVisible() && !window->isVisible()) {
      outcome = "chooser";
    } else if (window->isVisible() && !chooser()) {
      const QPoint centre = window->frameGeometry().center();
      outcome = window->leftTwips() == 3000 && window->topTwips() == 2000 ? "window at 3000,2000"
                : (centre - window->screen()->geometry().center()).manhattanLength() < 6
                    ? "window centred"
                    : "window elsewhere";
    }
    outcome += ", " + action("mnuFileExit")->text().toStdString();
    outcome += serial.open ? ", port open, " : ", port closed, ";
    outcome += std::to_string(prompts.shown.size()) + " reports";
    EXPECT_EQ(outcome, c.outcome) << c.ini;
    EXPECT_EQ(action("mnuOpen")->isChecked(), serial.open);
    EXPECT_EQ(window->Echo(), *c.settings == 0) << "echo is restored unless the startup stopped";
    EXPECT_EQ(window->PipFunctionStep(), 1);
    delete chooser();
  }
}

TEST_F(MainWindow, ALanguagePickedAtFirstStartShowsTheWindowAndIsSavedTheNextSecond) {
  load();
  ASSERT_NE(chooser(), nullptr);
  QFile lng(dir.filePath("Test.lng"));
  ASSERT_TRUE(lng.open(QIODevice::WriteOnly));
  lng.write("pip\r\nexit\r\nport\r\nprops\r\nopen\r\nlanguage\r\ninfo\r\n");
  lng.close();
  chooser()->setFolder(dir.path());
  chooser()->findChild<QListWidget*>("File1")->setCurrentRow(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(window->isVisible());
  const std::string language = dir.filePath("Test.lng").toStdString();
  EXPECT_EQ(window->LanguageFile(), language);
  QString captions = window->findChild<QMenu*>("mnuPort")->title();
  for (const char* name : {"mnuFileExit", "mnuProperties", "mnuOpen", "Language", "Info"}) {
    captions += " " + action(name)->text();
  }
  EXPECT_EQ(captions, "port exit props open language info");
  window->moveToTwips(4500, 1500);
  window->TimerMove_Timer();
  EXPECT_EQ(ini().toStdString(), " 4500 \r\n 1500 \r\n" + language + "\r\n");

  const int writes = window->settingsFile().writes();
  window->TimerMove_Timer();
  EXPECT_EQ(window->settingsFile().writes(), writes) << "nothing changed: nothing written";
  QFile::remove(dir.filePath("VQX.ini"));
  window->TimerMove_Timer();
  EXPECT_EQ(ini().toStdString(), " 4500 \r\n 1500 \r\n" + language + "\r\n");
}

TEST_F(MainWindow, ChooserClosedWithoutAChoiceShowsTheWindowAndAMissingFolderIsNoError) {
  load(dir.filePath("no/such/folder/VQX.ini"));
  chooser()->close();
  EXPECT_TRUE(window->isVisible());
  window->TimerMove_Timer();
  EXPECT_TRUE(prompts.shown.empty());
}

// The dialog takes the language's captions before it is first shown, and is centred with them.
TEST_F(MainWindow, PortPropertiesOpensThePortSettingsDialogCentred) {
  writeIni(" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n");
  load();
  QString shown;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    const QPoint off = dialog->geometry().center() - dialog->screen()->geometry().center();
    shown = dialog->objectName() + (off.manhattanLength() < 6 ? " centred" : "");
    dialog->close();
  });
  action("mnuProperties")->trigger();
  EXPECT_EQ(shown, "frmProperties centred");
}

// Enter belongs to the default key Uno unless another of the panel's keys has the focus; the
// terminal box sends what is typed into it.
TEST_F(MainWindow, EnterClicksUnoUnlessAnotherKeyHasTheFocus) {
  writeIni(" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n");
  load();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const struct {
    const char* focus;
    Qt::Key key;
    const char* sent;
  } cases[] = {
      {"txtTerm", Qt::Key_Return, "/01"},
      {"txtTerm", Qt::Key_Enter, "/01"},
      {"txtTerm", Qt::Key_A, "a"},
      {"Uno", Qt::Key_Return, "/01"},
      {"Uno", Qt::Key_A, ""},
      {"Tape", Qt::Key_Return, "/TP"},
      {"Tape", Qt::Key_Space, "/TP"},
      {"Pip", Qt::Key_Return, ""},
      {"Pip", Qt::Key_Space, ""},
  };
  for (const auto& c : cases) {
    QWidget* target = window->findChild<QWidget*>(c.focus);
    target->setFocus();
    serial.written.clear();
    QTest::keyClick(target, c.key);
    EXPECT_EQ(serial.written, c.sent) << c.focus << " " << c.key;
  }
}

TEST_F(MainWindow, TypingSendsWithoutEchoOrShowsInTheBoxWithEchoOrAClosedPort) {
  writeIni(" 3000 \r\n 2000 \r\n" + kEnglish + "\r\n");
  store.put("Echo", "True");
  load();
  QTest::keyClicks(window->txtTerm(), "ab");
  window->TogglePort();
  QTest::keyClicks(window->txtTerm(), "c");
  EXPECT_EQ(serial.written, "ab");
  EXPECT_EQ(window->txtTerm()->box().text(), "abc");
}

TEST_F(MainWindow, ExitEndsAtOnceAndClosingWaitsForTheOutputFirst) {
  const struct {
    bool exit;
    std::deque<PromptAnswer> answers;
    const char* outcome;
  } cases[] = {
      {true, {}, "ended, port closed, 0 questions, 0 waits"},
      {false, {PromptAnswer::Abort}, "running, port open, 1 questions, 10 waits"},
      {false, {PromptAnswer::Ignore}, "ended, port closed, 1 questions, 10 waits"},
  };
  for (const auto& c : cases) {
    serial = {};
    load();
    serial.queued = 100;
    prompts = {};
    prompts.answers = c.answers;
    pump.waits = ended = 0;
    c.exit ? window->mnuFileExit_Click() : (void)window->close();
    QCoreApplication::processEvents();  // a close that waits runs from the event loop
    const std::string outcome = std::string(ended ? "ended" : "running") +
                                (serial.open ? ", port open, " : ", port closed, ") +
                                std::to_string(prompts.shown.size()) + " questions, " +
                                std::to_string(pump.waits) + " waits";
    EXPECT_EQ(outcome, c.outcome);
  }
}

// A startup stopped by a rejected setting has not read the settings file: it keeps it as it is.
TEST_F(MainWindow, AStartupThatStoppedKeepsTheSettingsFileAndOnAMoveItsLanguageLine) {
  writeIni(" 30 \r\n 20 \r\n" + kEnglish + "\r\n");
  store.put("Settings", "fast,please");
  load().TimerMove_Timer();
  EXPECT_EQ(ini().toStdString(), " 30 \r\n 20 \r\n" + kEnglish + "\r\n");
  window->moveToTwips(4500, 1500);
  window->TimerMove_Timer();
  EXPECT_EQ(ini().toStdString(), " 4500 \r\n 1500 \r\n" + kEnglish + "\r\n");
}

TEST_F(MainWindow, ALostDeviceIsReportedOnceAndTheCheckMarkCleared) {
  load();
  serial.loseDevice("/dev/ttyS0: device no longer available");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
  EXPECT_FALSE(action("mnuOpen")->isChecked());
}

}  // namespace
}  // namespace vqx
