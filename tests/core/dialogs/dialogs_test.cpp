// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The port settings dialog's decisions: what the lists show, what OK does.
#include <gtest/gtest.h>

#include <sstream>

#include "dialogs/port_device.h"
#include "dialogs/port_properties.h"
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
TEST(PortDevice, OnLinuxTheNumberAndClassTellALineFromAConsoleOrTheProgramsOwnTerminal) {
  // clang-format off
  const struct { LinuxDevice device; bool own; const char* refused; } cases[] = {
      {{4, 64, "tty"}, false, ""},
      {{4, 63, "tty"}, false, "/dev/x is a virtual console of this computer, not a serial device."},
      {{5, 1, "tty"}, false, "/dev/x is the system console, not a serial device."},
      {{188, 0, "tty"}, true, "/dev/x is the terminal this program was started from, not a serial "
                              "device."},
      {{10, 130, ""}, false, "/dev/x is not a serial device."},
      {{136, 0, ""}, false, ""}, {{143, 9, ""}, false, ""},  // the slaves of pseudo-terminals
      {{135, 0, ""}, false, "/dev/x is not a serial device."},
      {{144, 0, ""}, false, "/dev/x is not a serial device."},
      {{}, false, ""}};  // no numbers (elsewhere): only a name such as /dev/null tells
  // clang-format on
  for (const auto& c : cases) {
    DeviceFacts facts;
    facts.kind = NodeKind::Device;
    facts.controllingTerminal = c.own;
    if (c.device.major != 0) facts.linuxDevice = c.device;
    EXPECT_EQ(acceptDevicePath("/dev/x", facts).error(), c.refused);
  }
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

}  // namespace
}  // namespace vqx
