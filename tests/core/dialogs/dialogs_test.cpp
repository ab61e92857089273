// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The port settings dialog's decisions (what the lists show, what OK does) and the About box's
// lookup of the system-information tool.
#include <gtest/gtest.h>

#include <map>

#include "dialogs/port_properties.h"
#include "dialogs/sys_info.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

TEST(PortProperties, SettingsTextIsReadFromTheRightByFixedWidths) {
  const std::optional<int> no;
  // clang-format off
  const std::pair<const char*, SettingsSelection> cases[] = {
      {"9600,n,8,1", {6, 2, 4, 0}}, {"115200,e,7,1.5", {13, 0, 3, 1}}, {"110,s,5,2", {0, 4, 1, 2}},
      {"9600,m,8,1", {6, 3, 4, 0}}, {"9600,o,8,1", {6, 1, 4, 0}}, {"256000,n,4,1", {15, 2, 0, 0}},
      {"9600,N,8,1", {6, no, 4, 0}}, {"9600,x,8,1", {6, no, 4, 0}}, {"150,n,8,1", {no, 2, 4, 0}},
      {"9600,n,9,1", {6, 2, no, 0}}, {"9600,n,8,3", {6, 2, 4, no}}, {"9600,,8,1", {no, no, 4, 0}},
      {"", {no, no, no, no}}, {"1", {no, no, no, 0}}, {"n,8,1", {no, 2, 4, 0}},
      {",8,1.5", {no, no, 4, 1}}, {"96.0,n,8,1", {no, no, no, no}}};
  // clang-format on
  for (const auto& [text, selection] : cases)
    EXPECT_EQ(selectSettingsText(text), selection) << text;
}

// OK, step by step: echo first, then the port number (closing and reopening an open port), the
// line settings and the flow control, each checked; then everything is stored. Each row: the port
// open, whether opening or closing it fails ("busy"), the choices; then "ok" (the dialog closes)
// or the report, the port, the check marks of the port menu entry, the line settings and the flow
// control.
TEST(PortProperties, OkAppliesChecksAndStores) {
  const std::tuple<bool, std::string, PropertyChoice, const char*> cases[] = {
      // clang-format off
      {true, "", {0, " 115200 ", "Even", "7", "1.5", 2, true}, "ok, Com1 open, 115200,e,7,1.5 2"},
      {true, "", {2, "9600", "Mark", "8", "1", 0, false}, "ok, Com3 open marks 1, 9600,m,8,1 0"},
      {false, "", {4, "9600", "Space", "8", "2", 3, false}, "ok, Com5 closed, 9600,s,8,2 3"},
      {true, "open", {1, "19200", "Odd", "7", "2", 1, true},
       "busy, Com1 closed marks 0, 9600,n,8,1 0"},
      {false, "", {-1, "9600", "None", "8", "1", 0, true},
       "Invalid port number, Com1 closed, 9600,n,8,1 0"},
      {true, "close", {3, "9600", "None", "8", "1", 0, true},
       "Port already open, Com1 open, 9600,n,8,1 0"},
      {false, "", {1, "9600", "", "8", "1", 0, true},
       "Invalid parity \"\", Com2 closed, 9600,n,8,1 0"},
      {false, "", {1, "19200", "Odd", "7", "2", 7, true},
       "Invalid handshaking value, Com2 closed, 19200,o,7,2 0"},
      // clang-format on
  };
  for (const auto& [open, failing, choice, expected] : cases) {
    FakeSerialControl comm;
    FakeSettingsStore store;
    FakePrompts prompts;
    comm.open = open;
    if (!failing.empty()) (failing == "open" ? comm.failOpen : comm.failClose) = "busy";
    bool echo = false;
    std::string marks;
    const bool closes = applyPropertySettings(
        choice, {comm, store, prompts, echo, [&](bool on) { marks += on ? " 1" : " 0"; }});
    std::string outcome = closes ? "ok" : "";
    for (const auto& shown : prompts.shown) outcome += shown.text;
    outcome += ", Com" + std::to_string(comm.port) + (comm.open ? " open" : " closed") +
               (marks.empty() ? "" : " marks" + marks) + ", " + comm.lineSettings + " " +
               std::to_string(comm.handshake);
    EXPECT_EQ(outcome, expected);
    EXPECT_EQ(echo, choice.pendingEcho) << expected << ": echo is set first, whatever follows";
    const std::vector<std::string> stored = {
        "Properties/Settings=" + comm.lineSettings,
        "Properties/CommPort=" + std::to_string(comm.port),
        "Properties/Handshaking=" + std::to_string(comm.handshake),
        std::string("Properties/Echo=") + (echo ? "True" : "False")};
    EXPECT_EQ(store.writes, closes ? stored : std::vector<std::string>{}) << expected;
    for (const auto& shown : prompts.shown) EXPECT_EQ(shown.icon, PromptIcon::Exclamation);
  }
}

// A system in memory: a registry of text values that counts the keys looked at and those left
// open, a file system that holds one file, and a program launcher that fails on "bad" paths.
struct FakeSystem : Registry, ProgramLauncher {
  std::map<std::string, std::map<std::string, std::string>> keys;
  int looked = 0, open = 0;
  std::string started;
  bool openKey(std::uint32_t root, const std::string& subKey, Key& key) override {
    ++looked;
    if (root != kHkeyLocalMachine || !keys.contains(subKey)) return false;
    key = reinterpret_cast<Key>(&keys.at(subKey));
    ++open;
    return true;
  }
  bool queryValue(Key key, const std::string& name, std::size_t capacity, std::uint32_t& type,
                  std::string& data) override {
    const auto& values = *reinterpret_cast<std::map<std::string, std::string>*>(key);
    if (!values.contains(name) || values.at(name).size() > capacity) return false;
    type = kRegistryText;
    data = values.at(name);
    return true;
  }
  void closeKey(Key) override { --open; }
  bool fileExists(const std::string& path) const override { return path == "C:\\Y\\MSINFO32.EXE"; }
  Result start(const std::string& path) override {
    started += path;
    return path.find("bad") == std::string::npos ? Result::ok() : Result::fail("not found");
  }
};

// Each row: the tool's path under the first key and its folder under the second (text values as
// the registry hands them out, with their closing zero byte); then what was started, how many
// keys were looked at, and whether "System Information Is Unavailable At This Time" was shown.
TEST(SysInfo, StartsTheRegisteredToolOrSaysItIsUnavailable) {
  const std::string longPath(kRegistryBufferSize + 1, 'x');
  // clang-format off
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {std::string("C:\\X\\msinfo.exe\0", 16), "C:\\Y", "C:\\X\\msinfo.exe, 1 keys"},
      {"C:\\X\\bad.exe", "C:\\Y", "C:\\X\\bad.exe, 1 keys, unavailable"},
      {"", "C:\\Y", "C:\\Y\\MSINFO32.EXE, 2 keys"},
      {longPath, "C:\\Y", "C:\\Y\\MSINFO32.EXE, 2 keys"},
      {"", "C:\\Z", ", 2 keys, unavailable"}, {"", "", ", 2 keys, unavailable"}};
  // clang-format on
  for (const auto& [path, folder, outcome] : cases) {
    FakeSystem system;
    FakePrompts prompts;
    if (!path.empty()) system.keys["SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"]["PATH"] = path;
    if (!folder.empty())
      system.keys["SOFTWARE\\Microsoft\\Shared Tools Location"]["MSINFO"] = folder + '\0';
    const bool started = startSysInfo(system, system, prompts);
    std::string got = system.started + ", " + std::to_string(system.looked) + " keys";
    for (const auto& shown : prompts.shown) {
      const bool unavailable = shown.text == kSysInfoUnavailable && shown.icon == PromptIcon::None;
      got += ", " + (unavailable ? "unavailable" : shown.text);
    }
    EXPECT_EQ(got, outcome);
    EXPECT_EQ(started, prompts.shown.empty());
    EXPECT_EQ(system.open, 0) << "every key opened is closed";
  }
}

}  // namespace
}  // namespace vqx
