#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "qt/dialogs/frm_about.h"
#include "qt/dialogs/frm_language_chooser.h"
#include "qt/dialogs/sys_info_platform.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;

void runDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class LanguageChooser : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QPointer<frmSceltaLingua> chooser;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"Italiano.lng", "English.lng", "notes.txt"}) {
      QFile f(dir.filePath(QString::fromLatin1(name)));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir(QStringLiteral("empty"));
    chooser = new frmSceltaLingua;
    chooser->setFolder(dir.path());
    chooser->show();
  }
  void TearDown() override { delete chooser.data(); }
  QListWidget* files() { return chooser->findChild<QListWidget*>(QStringLiteral("File1")); }
  QString joined(const QString& name) {
    return QDir::toNativeSeparators(dir.path()) + QDir::separator() + name;
  }
};

TEST_F(LanguageChooser, ShowsItsControlsAndTheFolderLanguageFiles) {
  EXPECT_EQ(chooser->windowTitle(), "VQX16");
  EXPECT_EQ(chooser->findChild<QLabel*>(QStringLiteral("Label1"))->text(), "Path:");
  EXPECT_EQ(chooser->findChild<QLabel*>(QStringLiteral("Label2"))->text(), "Drive:");
  EXPECT_EQ(chooser->findChild<QLabel*>(QStringLiteral("Label3"))->text(), "Language:");
  EXPECT_NE(chooser->findChild<QTreeView*>(QStringLiteral("Dir1")), nullptr);
  auto* drives = chooser->findChild<QComboBox*>(QStringLiteral("Drive1"));
  ASSERT_NE(drives, nullptr);
  ASSERT_GT(drives->count(), 0);
  EXPECT_EQ(drives->itemData(0).toString(), QDir::rootPath());
  EXPECT_DOUBLE_EQ(chooser->font().pointSizeF(), 7.5);
  ASSERT_EQ(files()->count(), 2);
  EXPECT_EQ(files()->item(0)->text(), "English.lng");
  EXPECT_EQ(files()->item(1)->text(), "Italiano.lng");
  EXPECT_EQ(files()->currentRow(), -1);

  chooser->setFolder(dir.filePath(QStringLiteral("empty")));
  EXPECT_EQ(files()->count(), 0);
}

TEST_F(LanguageChooser, PickingAFileAnnouncesTheJoinedPathAndCloses) {
  QSignalSpy chosen(chooser.data(), &frmSceltaLingua::languageChosen);
  QSignalSpy abandoned(chooser.data(), &frmSceltaLingua::closedWithoutChoice);
  QTest::mouseClick(files()->viewport(), Qt::LeftButton, {},
                    files()->visualItemRect(files()->item(1)).center());
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), joined(QStringLiteral("Italiano.lng")));
  EXPECT_EQ(abandoned.count(), 0);
  runDeferredDeletes();
  EXPECT_TRUE(chooser.isNull());
}

TEST_F(LanguageChooser, MovingTheCurrentRowWithoutSelectingChoosesNothing) {
  QSignalSpy chosen(chooser.data(), &frmSceltaLingua::languageChosen);
  files()->setCurrentRow(0, QItemSelectionModel::NoUpdate);  // what focus does to the list
  EXPECT_EQ(chosen.count(), 0);
  files()->setCurrentRow(0);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), joined(QStringLiteral("English.lng")));
}

TEST_F(LanguageChooser, SelectionWithoutAFileNameTakesEnglish) {
  QSignalSpy chosen(chooser.data(), &frmSceltaLingua::languageChosen);
  chooser->setFolder(dir.filePath(QStringLiteral("empty")));
  chooser->File1_Click();
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(),
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("empty"))) + QDir::separator() +
                "English.lng");
}

TEST_F(LanguageChooser, RootFolderGetsNoDoubledSeparator) {
  QSignalSpy chosen(chooser.data(), &frmSceltaLingua::languageChosen);
  chooser->setFolder(QDir::rootPath());
  chooser->File1_Click();
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), QDir::toNativeSeparators(QDir::rootPath()) + "English.lng");
}

TEST_F(LanguageChooser, ClosingWithoutAChoiceSaysSo) {
  QSignalSpy chosen(chooser.data(), &frmSceltaLingua::languageChosen);
  QSignalSpy abandoned(chooser.data(), &frmSceltaLingua::closedWithoutChoice);
  chooser->close();
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_EQ(abandoned.count(), 1);
}

TEST(LanguageChooserStart, StartsAtTheCurrentFolder) {
  QPointer<frmSceltaLingua> chooser = new frmSceltaLingua;
  EXPECT_EQ(chooser->folder(), QDir::currentPath());
  delete chooser.data();
}

class AboutBox : public ::testing::Test {
 protected:
  FakePrompts prompts;
  QPointer<frmAbout> about;
  void SetUp() override {
    about = new frmAbout(prompts);
    about->show();
  }
  void TearDown() override { delete about.data(); }
  template <typename T>
  T* find(const char* name) {
    return about->findChild<T*>(QString::fromLatin1(name));
  }
};

TEST_F(AboutBox, ShowsTitleVersionAndDescription) {
  EXPECT_EQ(about->windowTitle(), "About VQX16");
  EXPECT_EQ(find<QLabel>("lblTitle")->text(), "VQX16");
  EXPECT_TRUE(find<QLabel>("lblTitle")->font().bold());
  EXPECT_EQ(find<QLabel>("lblVersion")->text(), "Version 1.0.0");
  EXPECT_EQ(find<QLabel>("lblDescription")->text(), "ORVEX and ALMEX software controller");
  EXPECT_FALSE(find<QLabel>("Label1")->text().isEmpty());
  EXPECT_EQ(find<QFrame>("Line1")->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(find<QPushButton>("cmdSysInfo")->text(), "&System Info...");
  EXPECT_TRUE(find<QPushButton>("cmdOK")->isDefault());
  const QPixmap picture = find<QLabel>("picIcon")->pixmap();
  EXPECT_EQ(picture.size(), QSize(128, 41));
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST_F(AboutBox, EscapeCloses) {
  QTest::keyClick(about.data(), Qt::Key_Escape);
  runDeferredDeletes();
  EXPECT_TRUE(about.isNull());
}

TEST_F(AboutBox, EnterCloses) {
  find<QPushButton>("cmdOK")->setFocus();
  QTest::keyClick(find<QPushButton>("cmdOK"), Qt::Key_Return);
  runDeferredDeletes();
  EXPECT_TRUE(about.isNull());
}

#ifndef Q_OS_WIN
TEST_F(AboutBox, SystemInfoIsUnavailableWithoutARegistry) {
  QTest::mouseClick(find<QPushButton>("cmdSysInfo"), Qt::LeftButton);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::None);
  EXPECT_FALSE(about.isNull());
}
#endif

TEST_F(AboutBox, CreditsOnlyForARightPressWithShiftAlone) {
  auto* pic = find<QLabel>("picIcon");
  QTest::mousePress(pic, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
  QTest::mousePress(pic, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(10, 10));
  QTest::mousePress(pic, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(prompts.shown.empty());
  QTest::mousePress(pic, Qt::RightButton, Qt::ShiftModifier, QPoint(127, 40));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, kAboutCredits);
  EXPECT_EQ(prompts.shown[0].caption, "VQX16");
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::None);
}

TEST(QtProgramLauncher, ChecksFilesAndReportsAFailedStart) {
  QtProgramLauncher launcher;
  QTemporaryDir dir;
  EXPECT_FALSE(launcher.fileExists(dir.path().toStdString()));
  EXPECT_FALSE(launcher.fileExists(dir.filePath("MSINFO32.EXE").toStdString()));
  EXPECT_FALSE(launcher.start(dir.filePath("MSINFO32.EXE").toStdString()));
}

}  // namespace
}  // namespace vqx
