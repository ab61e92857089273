#include "qt/app/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/result.h"
#include "qt/serial/port_naming.h"
#include "qt/support/temporary_user_settings.h"

namespace vqx {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(home.isValid()); }

  QString file() const { return home.path() + "/VQX16/VQX16.conf"; }

  // Writes the settings file as a user would with a text editor.
  void handEdit(const QByteArray& text) {
    ASSERT_TRUE(QDir().mkpath(home.path() + "/VQX16"));
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }

  testing::TemporaryUserSettings home;
  QtSettingsStore store;
};

TEST_F(QtSettingsStoreTest, KeepsTextValuesUnderTheUsersConfigFolder) {
  EXPECT_EQ(QtSettingsStore::fileName(kAppTitle), file());
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Settings"), "");

  const struct {
    const char* key;
    const char* value;
  } values[] = {{"Settings", "9600,n,8,1"}, {"CommPort", "1"},    {"Handshaking", "0"},
                {"Echo", "False"},          {"Odd", " a, b ,c "}, {"Empty", ""},
                {"Quote", "say \"hi\""},    {"At", "@Invalid()"}};
  for (const auto& v : values) store.setValue(kAppTitle, "Properties", v.key, v.value);
  EXPECT_TRUE(QFileInfo::exists(file()));
  for (const auto& v : values) {
    EXPECT_EQ(store.value(kAppTitle, "Properties", v.key), v.value) << v.key;
  }
  EXPECT_EQ(store.value(kAppTitle, "Ports", "Settings"), "") << "sections are apart";
}

TEST_F(QtSettingsStoreTest, ReadsAHandEditedFileAsText) {
  handEdit(
      "[Properties]\n"
      "Settings=9600,n,8,1\n"
      "CommPort=2\n"
      "Handshaking=3\n"
      "Echo=True\n"
      "[Ports]\n"
      "Com2=/dev/ttyUSB0\n");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Settings"), "9600,n,8,1");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "CommPort"), "2");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Handshaking"), "3");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Echo"), "True");
  EXPECT_EQ(portDeviceName(2, store), "/dev/ttyUSB0");
  EXPECT_EQ(portDeviceName(1, store), "/dev/ttyS0");
}

TEST_F(QtSettingsStoreTest, SeesAFileEditedAfterItWasRead) {
  store.setValue(kAppTitle, "Properties", "Settings", "19200,e,7,1");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Settings"), "19200,e,7,1");
  handEdit("[Properties]\nSettings=115200,o,8,2\nCommPort=16\n");
  EXPECT_EQ(store.value(kAppTitle, "Properties", "Settings"), "115200,o,8,2");
}

TEST_F(QtSettingsStoreTest, EachTestGetsItsOwnEmptyFolder) {
  // A value stored by an earlier test must not be visible here.
  EXPECT_EQ(store.value(kAppTitle, "Properties", "CommPort"), "");
  EXPECT_TRUE(QDir(home.path()).isEmpty());
}

}  // namespace
}  // namespace vqx
