#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "i18n/language_file.h"
#include "qt/dialogs/frm_properties.h"
#include "qt/i18n/language_captions.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

template <typename T>
T* find(QWidget* w, const char* name) {
  auto* child = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void runDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class PropertiesWindow : public ::testing::Test {
 protected:
  FakeSerialControl comm;
  FakeSettingsStore store;
  FakePrompts prompts;
  bool echo = false;
  std::vector<bool> checkMarks;
  QPointer<frmProperties> dialog;

  void TearDown() override { delete dialog.data(); }

  frmProperties* open() {
    dialog = new frmProperties(comm, store, prompts, echo,
                               [this](bool on) { checkMarks.push_back(on); });
    dialog->show();
    return dialog;
  }
  QString text(const char* list) { return find<QComboBox>(dialog, list)->currentText(); }
  int index(const char* list) { return find<QComboBox>(dialog, list)->currentIndex(); }
  bool checked(const char* option) { return find<QRadioButton>(dialog, option)->isChecked(); }
  // Clicks near the left edge, where an option button's indicator and caption are.
  void click(const char* button) {
    auto* b = find<QAbstractButton>(dialog, button);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
  }
};

TEST_F(PropertiesWindow, HasEveryControlWithItsBuiltInCaption) {
  open();
  EXPECT_EQ(dialog->windowTitle(), "VQX16");
  EXPECT_TRUE(dialog->isModal());
  find<QTabWidget>(dialog, "tabSettings");
  find<QWidget>(dialog, "fraSettings");
  const std::pair<const char*, const char*> labels[] = {{"Label1", "Porta:"},
                                                        {"Label3", "Data Bits:"},
                                                        {"Label4", "Parit\u00e0:"},
                                                        {"Label5", "Stop Bits:"}};
  for (const auto& [name, caption] : labels) {
    EXPECT_EQ(find<QLabel>(dialog, name)->text(), QString::fromUtf8(caption)) << name;
  }
  const std::pair<const char*, const char*> groups[] = {{"Frame1", "Baud Rate"},
                                                        {"fraConnection", "Formattazione"},
                                                        {"Frame7", "&Echo"},
                                                        {"Frame5", "Controllo di Flusso"}};
  for (const auto& [name, caption] : groups) {
    EXPECT_EQ(find<QGroupBox>(dialog, name)->title(), caption) << name;
  }
  const std::pair<const char*, const char*> buttons[] = {
      {"optEcho_0", "Off"},      {"optEcho_1", "On"},     {"optFlow_0", "None"},
      {"optFlow_1", "Xon/Xoff"}, {"optFlow_2", "RTS"},    {"optFlow_3", "Xon/RTS"},
      {"cmdOK", "OK"},           {"cmdCancel", "Annulla"}};
  for (const auto& [name, caption] : buttons) {
    EXPECT_EQ(find<QAbstractButton>(dialog, name)->text(), caption) << name;
  }
  EXPECT_TRUE(find<QPushButton>(dialog, "cmdOK")->isDefault());

  auto* port = find<QComboBox>(dialog, "cboPort");
  ASSERT_EQ(port->count(), 16);
  EXPECT_EQ(port->itemText(0), "Com1");
  EXPECT_EQ(port->itemText(15), "Com16");
  auto* speed = find<QComboBox>(dialog, "cboSpeed");
  ASSERT_EQ(speed->count(), 16);
  EXPECT_EQ(speed->itemText(0), "110");
  EXPECT_EQ(speed->itemText(15), "256000");
  EXPECT_EQ(find<QComboBox>(dialog, "cboParity")->itemText(4), "Space");
  EXPECT_EQ(find<QComboBox>(dialog, "cboStopBits")->itemText(1), "1.5");
  EXPECT_FALSE(speed->isEditable());
}

TEST_F(PropertiesWindow, SelectsWhatTheControlReports) {
  const struct {
    const char* settings;
    const char *speed, *parity, *dataBits, *stopBits;
  } cases[] = {{"9600,n,8,1", "9600", "None", "8", "1"},
               {"115200,e,7,1.5", "115200", "Even", "7", "1.5"},
               {"110,s,5,2", "110", "Space", "5", "2"}};
  for (const auto& c : cases) {
    comm.lineSettings = c.settings;
    comm.port = 3;
    comm.handshake = 2;
    open();
    EXPECT_EQ(text("cboSpeed"), c.speed) << c.settings;
    EXPECT_EQ(text("cboParity"), c.parity) << c.settings;
    EXPECT_EQ(text("cboDataBits"), c.dataBits) << c.settings;
    EXPECT_EQ(text("cboStopBits"), c.stopBits) << c.settings;
    EXPECT_EQ(text("cboPort"), "Com3");
    EXPECT_TRUE(checked("optFlow_2"));
    EXPECT_TRUE(checked("optEcho_0"));
    delete dialog.data();
  }
}

TEST_F(PropertiesWindow, StateTheListsCannotShowOpensWithoutSelections) {
  comm.lineSettings = "150,n,8,1";
  comm.port = 20;
  comm.handshake = 7;
  echo = true;
  open();
  EXPECT_EQ(index("cboSpeed"), -1);
  EXPECT_EQ(index("cboPort"), -1);
  EXPECT_EQ(text("cboParity"), "None");
  for (const char* option : {"optFlow_0", "optFlow_1", "optFlow_2", "optFlow_3"}) {
    EXPECT_FALSE(checked(option)) << option;
  }
  EXPECT_TRUE(checked("optEcho_1"));
  click("cmdCancel");
  runDeferredDeletes();
  EXPECT_TRUE(dialog.isNull());
}

TEST_F(PropertiesWindow, OkAppliesStoresAndCloses) {
  comm.open = true;
  open();
  find<QComboBox>(dialog, "cboPort")->setCurrentIndex(1);
  find<QComboBox>(dialog, "cboSpeed")->setCurrentText("19200");
  find<QComboBox>(dialog, "cboParity")->setCurrentText("Odd");
  click("optFlow_1");
  click("optEcho_1");
  click("cmdOK");
  runDeferredDeletes();
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(echo);
  EXPECT_EQ(comm.port, 2);
  EXPECT_TRUE(comm.open);
  EXPECT_EQ(checkMarks, std::vector<bool>{true});
  EXPECT_EQ(comm.lineSettings, "19200,o,8,1");
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"Properties/Settings=19200,o,8,1", "Properties/CommPort=2",
                                      "Properties/Handshaking=1", "Properties/Echo=True"}));
}

TEST_F(PropertiesWindow, FailedOkKeepsTheDialogOpenWithTheChoices) {
  comm.open = true;
  comm.failOpen = "The port is in use";
  open();
  find<QComboBox>(dialog, "cboPort")->setCurrentIndex(5);
  click("cmdOK");
  runDeferredDeletes();
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(text("cboPort"), "Com6");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "The port is in use");
  EXPECT_EQ(comm.port, 1);
  EXPECT_FALSE(comm.open);
  EXPECT_EQ(checkMarks, std::vector<bool>{false});
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(PropertiesWindow, CancelChangesNothing) {
  comm.open = true;
  open();
  find<QComboBox>(dialog, "cboPort")->setCurrentIndex(7);
  click("optEcho_1");
  click("optFlow_3");
  click("cmdCancel");
  runDeferredDeletes();
  EXPECT_TRUE(dialog.isNull());
  EXPECT_FALSE(echo);
  EXPECT_EQ(comm.port, 1);
  EXPECT_EQ(comm.handshake, 0);
  EXPECT_EQ(comm.openCalls + comm.closeCalls, 0);
  EXPECT_TRUE(store.writes.empty());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PropertiesWindow, LanguageFileRelabelsFiveCaptions) {
  open();
  const std::string file =
      "pip\r\nexit\r\nport\r\nprops\r\nopen\r\nlang\r\ninfo\r\n&Port:\r\nSpeed\r\n"
      "<b>Format</b>\r\nFlow Control\r\n Cancel \r\n";
  applyLanguageCaptions(*dialog, readLanguageTexts(file));
  auto* label1 = find<QLabel>(dialog, "Label1");
  EXPECT_EQ(label1->text(), "&Port:");
  EXPECT_EQ(label1->textFormat(), Qt::PlainText);
  EXPECT_EQ(find<QGroupBox>(dialog, "Frame1")->title(), "Speed");
  EXPECT_EQ(find<QGroupBox>(dialog, "fraConnection")->title(), "<b>Format</b>");
  EXPECT_EQ(find<QGroupBox>(dialog, "Frame5")->title(), "Flow Control");
  EXPECT_EQ(find<QPushButton>(dialog, "cmdCancel")->text(), " Cancel ");
  // Captions the language file does not own keep their built-in texts.
  EXPECT_EQ(find<QLabel>(dialog, "Label3")->text(), "Data Bits:");
  EXPECT_EQ(find<QPushButton>(dialog, "cmdOK")->text(), "OK");
}

TEST(ShippedLanguageFiles, HoldTwelveLinesAndItalianoTheBuiltInCaptions) {
  const std::string dir = std::string(VQX16_SOURCE_DIR) + "/lang/";
  const auto english = readLanguageFile(dir + "English.lng");
  const auto italiano = readLanguageFile(dir + "Italiano.lng");
  for (int n = 1; n <= kLanguageLineCount; ++n) {
    EXPECT_FALSE(english.line(n).empty()) << n;
    EXPECT_NE(english.line(n), english.line(n == 12 ? 11 : 12)) << n;  // no line repeated
  }
  EXPECT_EQ(english.cmdCancel, "Cancel");
  EXPECT_FALSE(italiano.pipMessage.empty());
  const std::vector<std::string> builtIn = {"E&sci",
                                            "&Porta di comunicazione",
                                            "Propriet\xC3\xA0...",
                                            "&Apri Porta",
                                            "&Lingua",
                                            "&Info",
                                            "Porta:",
                                            "Baud Rate",
                                            "Formattazione",
                                            "Controllo di Flusso",
                                            "Annulla"};
  for (int n = 2; n <= kLanguageLineCount; ++n) {
    EXPECT_EQ(italiano.line(n), builtIn[static_cast<std::size_t>(n - 2)]) << n;
  }
}

}  // namespace
}  // namespace vqx
