// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with fake adapters: startup, the first start's language chooser, the menus,
// where Enter goes, the settings file, how the program ends; and the program's message boxes.
#include "qt/app/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "qt/app/link_indicator.h"
#include "qt/app/qt_prompts.h"
#include "qt/panel/front_panel.h"
#include "qt/serial/device_link.h"
#include "qt/app/terminal_text_box.h"
#include "qt/dialogs/language_chooser.h"
#include "qt/dialogs/port_settings_dialog.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

const std::string kEnglish = VQX16_SOURCE_DIR "/lang/English.lng";
const std::string kPlaced = " 3000 \r\n 2000 \r\n" + kEnglish + "\r\n";  // position and language

class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { delete chooser(); }
  void writeIni(const std::string& text) {
    std::ofstream(dir.filePath("VQX.ini").toStdString()) << text;
  }
  std::string ini() const { return testing::fileText(dir.filePath("VQX.ini")); }
  MainWindow& load(const QString& iniPath = {}) {
    const QString file = iniPath.isEmpty() ? dir.filePath("VQX.ini") : iniPath;
    window.reset();
    link = std::make_unique<DeviceLink>(serial, store, prompts, dir.filePath("log"));
    window = std::make_unique<MainWindow>(
        MainWindowParts{*link, store, prompts, file, [this] { ++ended; }, {}, &pump});
    window->load();
    return *window;
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(name); }
  static LanguageChooser* chooser() { return testing::topLevel<LanguageChooser>(); }
  // What shows after a start: the language chooser alone, or the window alone and where.
  std::string shownAfterStart() const {
    if (chooser() && chooser()->isVisible() && !window->isVisible()) return "chooser";
    if (!window->isVisible() || chooser()) return "neither or both";
    if (window->place().leftTwips() == 3000 && window->place().topTwips() == 2000)
      return "window at 3000,2000";
    const QPoint off = window->frameGeometry().center() - window->screen()->geometry().center();
    return off.manhattanLength() < 6 ? "window centred" : "window elsewhere";
  }

  QTemporaryDir dir;
  testing::FakeSerialControl serial;
  testing::FakeSettingsStore store;
  testing::FakePrompts prompts;
  testing::SteppingPump pump;  // ten seconds pass in ten waits
  int ended = 0;
  std::unique_ptr<DeviceLink> link;
  std::unique_ptr<MainWindow> window;  // the last, so gone before the link it shows
};

// Each row: the settings file; the stored line "settings" or a port that "fails" to open; then
// what shows, the Exit entry's caption (English from the language file), the port, the reports.
TEST_F(MainWindowTest, StartupRestoresPositionAndLanguageOrAsksForALanguageAndOpensThePort) {
  // clang-format off
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {kPlaced, "", "window at 3000,2000, E&xit, port open, 0 reports"},
      {" 3000 \r\n 2000 \r\n\r\n", "", "chooser, E&sci, port open, 0 reports"},
      {"", "", "chooser, E&sci, port open, 0 reports"},
      {" 9000000 \r\n -9000000 \r\n" + kEnglish + "\r\n", "",
       "window centred, E&xit, port open, 0 reports"},
      {kPlaced, "settings fast,please", "window centred, E&sci, port closed, 1 reports"},
      {kPlaced, "port fails", "window at 3000,2000, E&xit, port closed, 1 reports"}};
  // clang-format on
  for (const auto& [iniText, given, expected] : cases) {
    const bool badSettings = given.starts_with("settings ");
    writeIni(iniText);
    store.put("Settings", badSettings ? given.substr(9) : "");
    store.put("Echo", "True");
    serial = {};
    if (given == "port fails") serial.failOpen = "busy";
    prompts.shown.clear();
    load();
    std::string outcome = shownAfterStart();
    outcome += ", " + action("mnuFileExit")->text().toStdString();
    outcome += serial.open ? ", port open, " : ", port closed, ";
    EXPECT_EQ(outcome + std::to_string(prompts.shown.size()) + " reports", expected) << iniText;
    EXPECT_EQ(action("mnuOpen")->isChecked(), serial.open);
    EXPECT_EQ(link->echo(), !badSettings) << "echo is restored unless the startup stopped";
    EXPECT_EQ(window->panel()->keyState().pipFunctionStep, 1);
    if (badSettings) {  // a stopped startup has not read the settings file: it keeps it as it is
      window->saveSettings();
      EXPECT_EQ(ini(), iniText);
      window->place().moveToTwips(4500, 1500);
      window->saveSettings();
      EXPECT_EQ(ini(), " 4500 \r\n 1500 \r\n" + kEnglish + "\r\n") << "and its language line";
    }
    delete chooser();
  }
}

// The chooser starts in the current folder and lists its language files. The menus take the
// language's first lines, and the port settings dialog lines 8 to 12 before it is first shown,
// centred with them.
TEST_F(MainWindowTest, ALanguagePickedAtFirstStartShowsTheWindowAndIsSavedTheNextSecond) {
  load();
  ASSERT_NE(chooser(), nullptr);
  EXPECT_EQ(chooser()->folder(), QDir::currentPath());
  std::ofstream(dir.filePath("Test.lng").toStdString())
      << "pip\r\nexit\r\nport\r\nprops\r\nopen\r\nlanguage\r\ninfo\r\n"
      << "porta\r\nvelocita\r\nformato\r\nflusso\r\nannulla\r\n";
  for (const char* name : {"notes.txt", "Line\nbreak.lng"})
    QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
  chooser()->setFolder(dir.path());
  auto* files = chooser()->findChild<QListWidget*>("File1");
  ASSERT_EQ(files->count(), 2);
  const QPoint lineBreak = files->visualItemRect(files->item(0)).center();
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, lineBreak);
  files->setCurrentRow(1, QItemSelectionModel::NoUpdate);
  EXPECT_EQ(prompts.shown.size(), 1u) << "a line break in the name is refused, and says why";
  EXPECT_FALSE(window->isVisible()) << "neither that file nor the focus alone chooses";
  files->setCurrentRow(1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(window->isVisible());
  const std::string language = dir.filePath("Test.lng").toStdString();
  EXPECT_EQ(window->languageFile(), language);
  QString captions = window->findChild<QMenu*>("mnuPort")->title();
  for (const char* name : {"mnuFileExit", "mnuProperties", "mnuOpen", "Language", "Info"})
    captions += " " + action(name)->text();
  EXPECT_EQ(captions, "port exit props open language info");
  QStringList shown;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<PortSettingsDialog*>(QApplication::activeModalWidget());
    const QPoint off = dialog->geometry().center() - dialog->screen()->geometry().center();
    shown << dialog->portLabel()->text() << dialog->speedGroup()->title()
          << dialog->formatGroup()->title() << dialog->flowGroup()->title()
          << dialog->cancelButton()->text() << (off.manhattanLength() < 6 ? "centred" : "off");
    dialog->close();
  });
  action("mnuProperties")->trigger();
  EXPECT_EQ(shown.join(' '), "porta velocita formato flusso annulla centred");
  window->place().moveToTwips(4500, 1500);
  window->saveSettings();
  EXPECT_EQ(ini(), " 4500 \r\n 1500 \r\n" + language + "\r\n");
  const int writes = window->place().file().writes();
  window->saveSettings();
  EXPECT_EQ(window->place().file().writes(), writes) << "nothing changed: nothing written";
  QFile::remove(dir.filePath("VQX.ini"));
  window->saveSettings();
  EXPECT_EQ(ini(), " 4500 \r\n 1500 \r\n" + language + "\r\n");
}

// What is typed into the terminal box shows there with echo on, or with the port closed.
TEST_F(MainWindowTest, EnterClicksUnoUnlessAnotherKeyHasTheFocusAndTheBoxSendsWhatIsTyped) {
  writeIni(kPlaced);
  store.put("Echo", "True");
  load();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  // clang-format off
  const struct { const char* focus; Qt::Key key; const char* sent; } cases[] = {
      {"txtTerm", Qt::Key_Return, "/01"}, {"txtTerm", Qt::Key_Enter, "/01"},
      {"txtTerm", Qt::Key_A, "a"}, {"Uno", Qt::Key_Return, "/01"}, {"Uno", Qt::Key_A, ""},
      {"Tape", Qt::Key_Return, "/TP"}, {"Tape", Qt::Key_Space, "/TP"},
      {"Pip", Qt::Key_Return, ""}, {"Pip", Qt::Key_Space, ""}};
  // clang-format on
  for (const auto& c : cases) {
    QWidget* target = window->findChild<QWidget*>(c.focus);
    target->setFocus();
    serial.written.clear();
    QTest::keyClick(target, c.key);
    EXPECT_EQ(serial.written, c.sent) << c.focus << " " << c.key;
  }
  window->togglePort();
  QTest::keyClicks(window->terminalBox(), "c");
  EXPECT_EQ(serial.written + window->terminalBox()->box().text(), "ac");
}

// The chooser closed without a choice shows the window. Opened again from the menu with no file
// chosen, it takes English.lng in the folder it shows, the root too. A settings file in a missing
// folder is no error. Exit closes the port first, so nothing waits and the program ends at once
// (closing the window waits for the output: the window on a held line shows it).
TEST_F(MainWindowTest, ChooserClosedShowsTheWindowTheMenuOpensItAgainAndExitEndsAtOnce) {
  load(dir.filePath("no/such/folder/VQX.ini"));
  chooser()->close();
  EXPECT_TRUE(window->isVisible());
  const std::pair<QString, QString> noFileChosen[] = {{dir.path(), dir.filePath("English.lng")},
                                                      {QDir::rootPath(), "/English.lng"}};
  for (const auto& [folder, taken] : noFileChosen) {
    action("Language")->trigger();
    chooser()->setFolder(folder);
    chooser()->takeSelectedFile();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(chooser(), nullptr);
    EXPECT_EQ(window->languageFile(), taken.toStdString());
  }
  window->saveSettings();
  serial.queued = 100;
  window->exitCommand();
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(serial.open);
  EXPECT_EQ(prompts.shown.size(), 0u);
  EXPECT_EQ(pump.waits, 0);
}

// A text may hold what came from outside, a device's path: it shows as it is, never as markup.
TEST(MessageBox, ShowsTextCaptionAndIconAndAnswersWithTheButtonPressed) {
  QtPrompts prompts;
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    shown = box->text() + " | " + box->windowTitle();
    shown += box->icon() == QMessageBox::Question ? " | question" : " | other icon";
    shown += box->textFormat() == Qt::PlainText ? ", plain" : ", rich";
    box->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(
      prompts.show("<b>Busy</b>", "Caption", PromptIcon::Question, PromptButtons::AbortRetryIgnore),
      PromptAnswer::Retry);
  EXPECT_EQ(shown, "<b>Busy</b> | Caption | question, plain");
}

TEST(LinkIndicator, TooltipHoldsStateAndReasonAndALongNameLosesItsMiddle) {
  LinkIndicator indicator;
  const LinkView lost{LinkState::Lost, "lost, retrying", "unplugged"};
  indicator.setLink("Com1 (/dev/ttyUSB0)", lost);
  EXPECT_EQ(indicator.toolTip(), "Com1 (/dev/ttyUSB0): lost, retrying\nunplugged");
  indicator.setLink("Com1 (/dev/ttyUSB0)", {LinkState::Open, "open", ""});
  EXPECT_EQ(indicator.toolTip(), "Com1 (/dev/ttyUSB0): open");
  indicator.setRoom(300);
  indicator.resize(indicator.sizeHint());
  const auto picture = [&](const char* start, char middle, const char* end) {
    const QString a(100, 'a');
    indicator.setLink(start + a + middle + a + end, lost);
    return indicator.grab().toImage();
  };
  const QImage shown = picture("Com1 (/dev/serial/by-id/usb-", 'm', "-port0)");
  EXPECT_NE(picture("Com2 (/dev/serial/by-id/usb-", 'm', "-port0)"), shown) << "the start shows";
  EXPECT_NE(picture("Com1 (/dev/serial/by-id/usb-", 'm', "-port1)"), shown) << "the end shows";
  EXPECT_EQ(picture("Com1 (/dev/serial/by-id/usb-", 'w', "-port0)"), shown) << "not the middle";
}

}  // namespace
}  // namespace vqx
