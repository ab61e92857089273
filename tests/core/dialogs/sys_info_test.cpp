#include "dialogs/sys_info.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;

// A registry in memory that counts open and closed keys.
class FakeRegistry : public Registry {
 public:
  struct Value {
    std::uint32_t type;
    std::string data;
  };
  std::map<std::string, std::map<std::string, Value>> keys;  // key path -> values
  std::vector<std::string> opened;
  int openKeys = 0;

  bool openKey(std::uint32_t root, const std::string& subKey, Key& key) override {
    opened.push_back(subKey);
    if (root != kHkeyLocalMachine) return false;
    const auto it = keys.find(subKey);
    if (it == keys.end()) return false;
    key = reinterpret_cast<Key>(&it->second);
    ++openKeys;
    return true;
  }
  bool queryValue(Key key, const std::string& name, std::size_t capacity, std::uint32_t& type,
                  std::string& data) override {
    const auto& values = *reinterpret_cast<std::map<std::string, Value>*>(key);
    const auto it = values.find(name);
    if (it == values.end() || it->second.data.size() > capacity) return false;
    type = it->second.type;
    data = it->second.data;
    return true;
  }
  void closeKey(Key) override { --openKeys; }

  void putText(const std::string& key, const std::string& name, const std::string& text) {
    keys[key][name] = {kRegistryText, text + '\0'};
  }
};

class FakeLauncher : public ProgramLauncher {
 public:
  std::set<std::string> files;
  std::vector<std::string> started;
  std::optional<std::string> failStart;
  bool fileExists(const std::string& path) const override { return files.count(path) > 0; }
  Result start(const std::string& path) override {
    started.push_back(path);
    return failStart ? Result::fail(*failStart) : Result::ok();
  }
};

const std::string kFirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kSecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(GetKeyValue, ReadsTextWithoutItsTerminatingZero) {
  FakeRegistry reg;
  reg.putText("K", "V", "C:\\Tools\\msinfo32.exe");
  std::string val = "old";
  EXPECT_TRUE(getKeyValue(reg, kHkeyLocalMachine, "K", "V", val));
  EXPECT_EQ(val, "C:\\Tools\\msinfo32.exe");
  EXPECT_EQ(reg.openKeys, 0);
}

TEST(GetKeyValue, FailuresEmptyTheValueAndCloseWhatWasOpened) {
  FakeRegistry reg;
  reg.keys["K"]["Long"] = {kRegistryText, std::string(kRegistryBufferSize + 1, 'x')};
  std::string val = "old";
  EXPECT_FALSE(getKeyValue(reg, kHkeyLocalMachine, "Missing", "V", val));
  EXPECT_EQ(val, "");
  val = "old";
  EXPECT_FALSE(getKeyValue(reg, kHkeyLocalMachine, "K", "Missing", val));
  EXPECT_EQ(val, "");
  val = "old";
  EXPECT_FALSE(getKeyValue(reg, kHkeyLocalMachine, "K", "Long", val));
  EXPECT_EQ(val, "");
  EXPECT_EQ(reg.openKeys, 0);
}

TEST(GetKeyValue, NumbersReadInFullAndOtherTypesLeaveTheValue) {
  FakeRegistry reg;
  reg.keys["K"]["N"] = {kRegistryNumber, std::string("\x0A\x01\x00\x00", 4)};
  reg.keys["K"]["M"] = {kRegistryNumber, std::string("\xFF\xFF\xFF\xFF", 4)};
  reg.keys["K"]["B"] = {3, "\x01\x02"};
  reg.keys["K"]["E"] = {kRegistryText, ""};
  std::string val;
  EXPECT_TRUE(getKeyValue(reg, kHkeyLocalMachine, "K", "N", val));
  EXPECT_EQ(val, "266");
  EXPECT_TRUE(getKeyValue(reg, kHkeyLocalMachine, "K", "M", val));
  EXPECT_EQ(val, "-1");
  val = "kept";
  EXPECT_TRUE(getKeyValue(reg, kHkeyLocalMachine, "K", "B", val));
  EXPECT_EQ(val, "kept");
  EXPECT_TRUE(getKeyValue(reg, kHkeyLocalMachine, "K", "E", val));
  EXPECT_EQ(val, "");
}

class StartSysInfoTest : public ::testing::Test {
 protected:
  FakeRegistry reg;
  FakeLauncher launcher;
  FakePrompts prompts;

  void expectUnavailable() {
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(prompts.shown[0].caption, "VQX16");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::None);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);
  }
};

TEST_F(StartSysInfoTest, FirstKeyIsUsedWithoutAnExistenceCheck) {
  reg.putText(kFirstKey, "PATH", "C:\\Nowhere\\msinfo32.exe");
  reg.putText(kSecondKey, "MSINFO", "C:\\Other");
  EXPECT_TRUE(startSysInfo(reg, launcher, prompts));
  EXPECT_EQ(launcher.started, std::vector<std::string>{"C:\\Nowhere\\msinfo32.exe"});
  EXPECT_EQ(reg.opened, std::vector<std::string>{kFirstKey});
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StartSysInfoTest, WrongFirstPathFailsWithoutConsultingTheSecondKey) {
  reg.putText(kFirstKey, "PATH", "C:\\Nowhere\\msinfo32.exe");
  reg.putText(kSecondKey, "MSINFO", "C:\\Other");
  launcher.files.insert("C:\\Other\\MSINFO32.EXE");
  launcher.failStart = "File not found";
  EXPECT_FALSE(startSysInfo(reg, launcher, prompts));
  EXPECT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(reg.opened, std::vector<std::string>{kFirstKey});
  expectUnavailable();
}

TEST_F(StartSysInfoTest, SecondKeyStartsOnlyAnExistingTool) {
  reg.putText(kSecondKey, "MSINFO", "C:\\Shared\\MSInfo");
  EXPECT_FALSE(startSysInfo(reg, launcher, prompts));
  EXPECT_TRUE(launcher.started.empty());
  expectUnavailable();

  prompts.shown.clear();
  launcher.files.insert("C:\\Shared\\MSInfo\\MSINFO32.EXE");
  EXPECT_TRUE(startSysInfo(reg, launcher, prompts));
  EXPECT_EQ(launcher.started, std::vector<std::string>{"C:\\Shared\\MSInfo\\MSINFO32.EXE"});
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StartSysInfoTest, NothingRegisteredShowsTheFailureMessage) {
  EXPECT_FALSE(startSysInfo(reg, launcher, prompts));
  EXPECT_EQ(reg.opened, (std::vector<std::string>{kFirstKey, kSecondKey}));
  expectUnavailable();
}

}  // namespace
}  // namespace vqx
