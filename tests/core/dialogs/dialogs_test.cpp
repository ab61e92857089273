// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The port settings dialog's decisions: what the lists show, what OK does.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "dialogs/port_device.h"
#include "dialogs/port_properties.h"
#include "dialogs/sys_info.h"
#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

TEST(PortProperties, TheListsSelectTheSettingsTextReadFromTheRightAndTheFlowControl) {
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
  EXPECT_EQ(dialogSelection(FakeSerialControl(), false).flow, 0) << "no flow control";
  EXPECT_EQ(portEntryText(0), "Com1");
}

// The choices as the dialog's lists give them: "index: speed,parity,data bits,stop bits flow N",
// then "echo" when Echo is ticked. The texts are kept as they stand, spaces and all.
PropertyChoice choiceOf(const std::string& text) {
  std::istringstream in(text);
  PropertyChoice choice;
  std::string word;
  in >> choice.portIndex;
  in.ignore(1);
  std::getline(in, choice.speedText, ',');
  std::getline(in, choice.parityText, ',');
  std::getline(in, choice.dataBitsText, ',');
  in >> choice.stopBitsText >> word >> choice.pendingFlow >> word;
  choice.pendingEcho = word == "echo";
  return choice;
}

// OK, step by step: echo first, then the port number (closing and reopening an open port, also
// on the same number when its mapping names another device now), the line settings and the flow
// control, each checked; then everything is stored. Each row: the port as it is, the choices, and
// "ok" (the dialog closes) or the report, the port, the check marks of the port menu entry, the
// line settings and the flow control.
TEST(PortProperties, OkAppliesChecksAndStores) {
  const std::tuple<std::string, const char*, const char*> cases[] = {
      // clang-format off
      {"open", "0: 115200 ,Even,7,1.5 flow 2 echo", "ok, Com1 open, 115200,e,7,1.5 2"},
      {"open", "2:9600,Mark,8,1 flow 0", "ok, Com3 open marks 1, 9600,m,8,1 0"},
      {"closed", "4:9600,Space,8,2 flow 3", "ok, Com5 closed, 9600,s,8,2 3"},
      {"open, opening fails", "1:19200,Odd,7,2 flow 1 echo",
       "busy, Com1 closed marks 0, 9600,n,8,1 0"},
      {"closed", "-1:9600,None,8,1 flow 0 echo", "Invalid port number, Com1 closed, 9600,n,8,1 0"},
      {"open, closing fails", "3:9600,None,8,1 flow 0 echo",
       "Port already open, Com1 open, 9600,n,8,1 0"},
      {"open, moved", "0:9600,None,8,1 flow 0 echo", "ok, Com1 open marks 1, 9600,n,8,1 0"},
      {"open, moved, opening fails", "0:9600,None,8,1 flow 0 echo",
       "busy, Com1 closed marks 0, 9600,n,8,1 0"},
      {"closed", "1:9600,,8,1 flow 0 echo", "Invalid parity \"\", Com2 closed, 9600,n,8,1 0"},
      {"closed", "1:19200,Odd,7,2 flow 7 echo",
       "Invalid handshaking value, Com2 closed, 19200,o,7,2 0"},
      // clang-format on
  };
  for (const auto& [port, choiceText, expected] : cases) {
    const PropertyChoice choice = choiceOf(choiceText);
    FakeSerialControl comm;
    FakeSettingsStore store;
    FakePrompts prompts;
    comm.open = port.starts_with("open");
    if (port.ends_with("opening fails")) comm.failOpen = "busy";
    if (port.ends_with("closing fails")) comm.failClose = "busy";
    if (port.find("moved") != std::string::npos) comm.atPort.path = "/dev/ttyUSB1";
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

// On Linux the number and class of the device at a path tell a serial line from a virtual
// console, this program's own terminal or a device of no class (a pseudo-terminal's slave is one).
// Each row: the numbers, the class ("-" none), "own" for the program's terminal; then the refusal.
TEST(PortDevice, OnLinuxTheNumberAndClassTellALineFromAConsoleOrTheProgramsOwnTerminal) {
  const std::pair<const char*, const char*> cases[] = {
      {"4:64 tty", ""},
      {"4:63 tty", "/dev/x is a virtual console of this computer, not a serial device."},
      {"5:0 tty", "/dev/x stands for the terminal of the program that opens it"},
      {"5:1 tty", "/dev/x is the system console, not a serial device."},
      {"5:2 -", "/dev/x makes a new pseudo-terminal with nobody at its other end"},
      {"136:0 -", ""},
      {"143:9 -", ""},
      {"135:0 -", "/dev/x is not a serial device."},
      {"144:0 -", "/dev/x is not a serial device."},
      {"188:0 tty own", "/dev/x is the terminal this program was started from"},
      {"10:130 misc", "/dev/x is not a serial device: the system counts it among its \"misc\""},
      {"", ""}};  // no numbers (elsewhere): only a name such as /dev/null tells
  for (const auto& [device, refused] : cases) {
    std::istringstream in(device);
    LinuxDevice numbers;
    char colon = ':';
    std::string own;
    DeviceFacts facts;
    facts.kind = NodeKind::Device;
    if (in >> numbers.major >> colon >> numbers.minor >> numbers.subsystem) {
      facts.linuxDevice = numbers;
    }
    if (numbers.subsystem == "-") facts.linuxDevice->subsystem.clear();
    facts.controllingTerminal = in >> own && own == "own";
    EXPECT_TRUE(acceptDevicePath("/dev/x", facts).error().starts_with(refused)) << device;
    EXPECT_EQ(describeDevice(facts), *refused ? "not a serial device" : "present") << device;
  }
  DeviceFacts adapter;
  adapter.kind = NodeKind::Device;
  adapter.description = "FT232R USB UART";
  adapter.serialNumber = "A1";
  EXPECT_EQ(describeDevice(adapter), "present, FT232R USB UART, serial number A1");
  EXPECT_EQ(describeDevice({}), "absent");
  for (const char* control : {"/dev/tty\x1f", "/dev/\x7f"})
    EXPECT_TRUE(acceptDevicePath(control, adapter).error().starts_with("A device path cannot"));
}

// A path may hold a space; the name stored is the stable link that leads to the device; a
// network address is described by its kind of device server.
TEST(PortDevice, APathMayHoldASpaceAndTheStoredNameIsTheStableLinkToTheDevice) {
  EXPECT_EQ(acceptDevicePath("/dev/my port", {}).error(), "");
  const std::vector<std::pair<std::string, std::string>> links = {
      {"/dev/serial/by-id/a", "/dev/ttyUSB1"}, {"/dev/serial/by-id/b", "/dev/ttyUSB0"}};
  EXPECT_EQ(stableDeviceName("/dev/ttyUSB0", "/dev/ttyUSB0", links), "/dev/serial/by-id/b");
  EXPECT_TRUE(describePortDevice("tcp://box:1", {}).starts_with("network device server, raw"));
  EXPECT_TRUE(describePortDevice("rfc2217://box:1", {}).starts_with("network device server, RFC"));
}

// A registry of values by key and name ("key\\name") and a launcher that knows one file. It
// counts the keys left open, and keeps the path it was asked to start.
struct RegistryAndLauncher : Registry, ProgramLauncher {
  std::map<std::string, std::pair<std::uint32_t, std::string>> values;
  std::string openKeyName, existing, started;
  int keysOpen = 0;
  bool starts = true;

  bool openKey(std::uint32_t root, const std::string& subKey, Key&) override {
    openKeyName = subKey;
    keysOpen += root == kHkeyLocalMachine ? 1 : 0;
    return root == kHkeyLocalMachine;
  }
  bool queryValue(Key, const std::string& name, std::size_t capacity, std::uint32_t& type,
                  std::string& data) override {
    const auto value = values.find(openKeyName + "\\" + name);
    if (value == values.end() || value->second.second.size() > capacity) return false;
    std::tie(type, data) = value->second;
    return true;
  }
  void closeKey(Key) override { --keysOpen; }
  bool fileExists(const std::string& path) const override { return path == existing; }
  Result start(const std::string& path) override {
    started = path;
    return starts ? Result::ok() : Result::fail("no");
  }
};

// The tool registered by its path is started as it stands; else MSINFO32.EXE in the registered
// folder when it is there. Otherwise, or when it does not start, the operator is told. Each row:
// what is registered under "PATH" or "MSINFO", "+file" when MSINFO32.EXE is in that folder,
// "!start" when the start fails; then what happens.
TEST(SysInfo, TheRegisteredToolStartsOrTheOperatorIsToldItIsUnavailable) {
  const std::pair<const char*, const char*> cases[] = {
      {"PATH=C:\\I\\info.exe", "started C:\\I\\info.exe"},
      {"PATH=C:\\I\\info.exe !start", "tried C:\\I\\info.exe, told"},
      {"MSINFO=D:\\T +file", "started D:\\T\\MSINFO32.EXE"},
      {"MSINFO=D:\\T", "told"},
      {"", "told"}};
  for (const auto& [registered, outcome] : cases) {
    RegistryAndLauncher system;
    std::istringstream in(registered);
    for (std::string word; in >> word;) {
      // A text value as the registry hands it out, with its terminating zero.
      const std::pair text(kRegistryText, word.substr(word.find('=') + 1) + '\0');
      const std::string tools = "SOFTWARE\\Microsoft\\Shared Tools";
      if (word.starts_with("PATH=")) system.values[tools + "\\MSINFO\\PATH"] = text;
      if (word.starts_with("MSINFO=")) system.values[tools + " Location\\MSINFO"] = text;
      if (word == "+file") system.existing = "D:\\T\\MSINFO32.EXE";
      if (word == "!start") system.starts = false;
    }
    FakePrompts prompts;
    const bool started = startSystemInformationTool(system, system, prompts);
    std::string got = started ? "started " + system.started : "";
    if (!started && !system.started.empty()) got = "tried " + system.started + ", ";
    for (const auto& shown : prompts.shown)
      got += shown.text == "System Information Is Unavailable At This Time" ? "told" : "?";
    EXPECT_EQ(got, outcome) << registered;
    EXPECT_EQ(system.keysOpen, 0) << registered;
  }
  // A number's bytes are little-endian and count in full; a value of another type is not read,
  // nor one longer than the reader takes.
  RegistryAndLauncher system;
  system.values = {{"K\\N", {kRegistryNumber, "\x0A\x01"}}, {"K\\B", {3, "xy"}},
                   {"K\\L", {kRegistryText, std::string(kRegistryBufferSize + 1, 'x')}}};
  std::string read = "before";
  EXPECT_TRUE(readRegistryValue(system, kHkeyLocalMachine, "K", "N", read));
  EXPECT_TRUE(readRegistryValue(system, kHkeyLocalMachine, "K", "B", read));
  EXPECT_EQ(read, "266");
  EXPECT_FALSE(readRegistryValue(system, kHkeyLocalMachine, "K", "L", read));
  EXPECT_EQ(read, "");
}

}  // namespace
}  // namespace vqx
