#include "dialogs/port_properties.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vqx {
namespace {

using testing::FakePrompts;
using testing::FakeSerialControl;
using testing::FakeSettingsStore;

constexpr int kSpeed110 = 0, kSpeed9600 = 6, kSpeed115200 = 13;
constexpr int kEven = 0, kOdd = 1, kNone = 2, kMark = 3, kSpace = 4;

struct SelectionCase {
  const char* settings;
  SettingsSelection expected;
};

TEST(SelectSettingsText, ReadsFieldsFromTheRightByFixedWidths) {
  const std::optional<int> none;
  const SelectionCase cases[] = {
      {"9600,n,8,1", {kSpeed9600, kNone, 4, 0}},
      {"115200,e,7,1.5", {kSpeed115200, kEven, 3, 1}},
      {"110,s,5,2", {kSpeed110, kSpace, 1, 2}},
      {"9600,m,8,1", {kSpeed9600, kMark, 4, 0}},
      {"9600,o,8,1", {kSpeed9600, kOdd, 4, 0}},
      {"256000,n,4,1", {15, kNone, 0, 0}},
      // Upper case or unknown parity letters select nothing; the rest still shows.
      {"9600,N,8,1", {kSpeed9600, none, 4, 0}},
      {"9600,E,7,2", {kSpeed9600, none, 3, 2}},
      {"9600,x,8,1", {kSpeed9600, none, 4, 0}},
      // States the lists cannot show.
      {"150,n,8,1", {none, kNone, 4, 0}},
      {"9600,n,9,1", {kSpeed9600, kNone, none, 0}},
      {"9600,n,8,3", {kSpeed9600, kNone, 4, none}},
      {"9600,,8,1", {none, none, 4, 0}},
      // Texts too short for the fixed widths: nothing reaches outside the text.
      {"", {none, none, none, none}},
      {"1", {none, none, none, 0}},
      {"8,1", {none, none, 4, 0}},
      {"n,8,1", {none, kNone, 4, 0}},
      {",n,8,1", {none, kNone, 4, 0}},
      {".", {none, none, none, none}},
      {"1.5", {none, none, none, 1}},
      {",8,1.5", {none, none, 4, 1}},
      // A "." elsewhere shifts every field, as the fixed widths demand.
      {"96.0,n,8,1", {none, none, none, none}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(selectSettingsText(c.settings), c.expected) << '"' << c.settings << '"';
  }
}

TEST(LoadPropertySettings, SelectsPortFlowAndEchoOrNothingOutsideTheLists) {
  FakeSerialControl comm;
  comm.port = 16;
  comm.handshake = 3;
  auto sel = loadPropertySettings(comm, true);
  EXPECT_EQ(sel.port, 15);
  EXPECT_EQ(sel.flow, 3);
  EXPECT_EQ(sel.pendingFlow, 3);
  EXPECT_EQ(sel.echo, 1);
  EXPECT_TRUE(sel.pendingEcho);
  EXPECT_EQ(sel.line.speed, kSpeed9600);

  comm.port = 20;
  comm.handshake = 7;
  sel = loadPropertySettings(comm, false);
  EXPECT_EQ(sel.port, std::nullopt);
  EXPECT_EQ(sel.flow, std::nullopt);
  EXPECT_EQ(sel.echo, 0);
  EXPECT_FALSE(sel.pendingEcho);

  comm.port = 0;
  EXPECT_EQ(loadPropertySettings(comm, false).port, std::nullopt);
}

TEST(PortEntryText, NamesComPortsFromOne) {
  EXPECT_EQ(portEntryText(0), "Com1");
  EXPECT_EQ(portEntryText(15), "Com16");
}

// One OK press against fakes.
class PropertiesOk : public ::testing::Test {
 protected:
  FakeSerialControl comm;
  FakeSettingsStore store;
  FakePrompts prompts;
  bool echo = false;
  std::vector<bool> checkMarks;

  PropertyChoice choice{0, "9600", "None", "8", "1", 0, false};

  bool ok() {
    return applyPropertySettings(
        choice, {comm, store, prompts, echo, [this](bool on) { checkMarks.push_back(on); }});
  }
  void expectOneError(const std::string& text) {
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, text);
    EXPECT_EQ(prompts.shown[0].caption, "VQX16");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);
  }
};

TEST_F(PropertiesOk, UnchangedPortSendsSettingsAndFlowToTheOpenPortAndStoresThem) {
  comm.open = true;
  choice = {0, " 115200 ", "Even", "7", "1.5", 2, true};
  EXPECT_TRUE(ok());
  EXPECT_EQ(comm.openCalls + comm.closeCalls, 0);
  EXPECT_TRUE(comm.open);
  EXPECT_EQ(comm.lineSettings, "115200,e,7,1.5");
  EXPECT_EQ(comm.handshake, 2);
  EXPECT_TRUE(echo);
  EXPECT_TRUE(checkMarks.empty());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"Properties/Settings=115200,e,7,1.5", "Properties/CommPort=1",
                                      "Properties/Handshaking=2", "Properties/Echo=True"}));
  EXPECT_EQ(store.value("VQX16", "Properties", "Echo"), "True");
}

TEST_F(PropertiesOk, StoresExactlyFalseAndOneDigitForEveryFlowOption) {
  for (int flow = 0; flow < kFlowOptionCount; ++flow) {
    choice.pendingFlow = flow;
    ASSERT_TRUE(ok());
    EXPECT_EQ(store.value("VQX16", "Properties", "Handshaking"), std::to_string(flow));
    EXPECT_EQ(store.value("VQX16", "Properties", "Echo"), "False");
  }
}

TEST_F(PropertiesOk, ParityLettersGoOutInUpperCaseAndComeBackInLowerCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"Mark", "9600,m,8,1"}, {"Odd", "9600,o,8,1"}, {"Space", "9600,s,8,1"}};
  for (const auto& [parity, stored] : cases) {
    choice.parityText = parity;
    EXPECT_EQ(buildSettingsText(choice), std::string("9600,") + parity[0] + ",8,1");
    ASSERT_TRUE(ok());
    EXPECT_EQ(store.value("VQX16", "Properties", "Settings"), stored);
  }
}

TEST_F(PropertiesOk, ParityWithoutSelectionWritesAnEmptyFieldAndTheControlDecides) {
  choice.parityText = "";
  EXPECT_EQ(buildSettingsText(choice), "9600,,8,1");
  choice.pendingEcho = true;
  EXPECT_FALSE(ok());  // the fake control rejects the empty parity: check 2
  EXPECT_TRUE(echo);   // Echo was set first and stays
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(PropertiesOk, NewPortOnAnOpenPortClosesAndReopensAndRefreshesTheCheckMark) {
  comm.open = true;
  choice.portIndex = 2;
  EXPECT_TRUE(ok());
  EXPECT_EQ(comm.port, 3);
  EXPECT_EQ(comm.closeCalls, 1);
  EXPECT_EQ(comm.openCalls, 1);
  EXPECT_TRUE(comm.open);
  EXPECT_EQ(checkMarks, std::vector<bool>{true});
  EXPECT_EQ(store.value("VQX16", "Properties", "CommPort"), "3");
}

TEST_F(PropertiesOk, NewPortOnAClosedPortIsSetWithoutOpeningOrTouchingTheMenu) {
  choice.portIndex = 4;
  EXPECT_TRUE(ok());
  EXPECT_EQ(comm.port, 5);
  EXPECT_EQ(comm.openCalls, 0);
  EXPECT_FALSE(comm.open);
  EXPECT_TRUE(checkMarks.empty());
}

TEST_F(PropertiesOk, PortThatWillNotReopenRestoresTheNumberAndLeavesThePortClosed) {
  comm.open = true;
  comm.failOpen = "Port in use";
  choice.portIndex = 1;
  choice.pendingEcho = true;
  EXPECT_FALSE(ok());
  expectOneError("Port in use");
  EXPECT_EQ(comm.port, 1);
  EXPECT_FALSE(comm.open);
  EXPECT_EQ(checkMarks, std::vector<bool>{false});
  EXPECT_TRUE(echo);
  EXPECT_TRUE(store.writes.empty());
  EXPECT_EQ(comm.lineSettings, "9600,n,8,1");  // nothing after check 1 ran
}

TEST_F(PropertiesOk, RejectedPortNumberStopsAtCheckOneWithoutOpening) {
  choice.portIndex = -1;  // no port selected: port number 0
  EXPECT_FALSE(ok());
  expectOneError("Invalid port number");
  EXPECT_EQ(comm.port, 1);
  EXPECT_EQ(comm.openCalls, 0);
  EXPECT_TRUE(checkMarks.empty());
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(PropertiesOk, FailedCloseLeavesThePortOpenOnTheOldNumber) {
  comm.open = true;
  comm.failClose = "Cannot close";
  choice.portIndex = 3;
  EXPECT_FALSE(ok());
  // The later refusal of the new number is the latest failure and is the one reported.
  expectOneError("Port already open");
  EXPECT_TRUE(comm.open);
  EXPECT_EQ(comm.port, 1);
  EXPECT_EQ(comm.openCalls, 0);
}

TEST_F(PropertiesOk, RejectedSettingsStopAtCheckTwoKeepingTheNewPort) {
  choice.portIndex = 1;
  comm.failSettings = "Invalid baud rate";
  EXPECT_FALSE(ok());
  expectOneError("Invalid baud rate");
  EXPECT_EQ(comm.port, 2);
  EXPECT_EQ(comm.handshake, 0);
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(PropertiesOk, RejectedHandshakingStopsAtCheckThreeKeepingPortAndSettings) {
  choice = {1, "19200", "Odd", "7", "2", 7, true};
  EXPECT_FALSE(ok());
  expectOneError("Invalid handshaking value");
  EXPECT_EQ(comm.port, 2);
  EXPECT_EQ(comm.lineSettings, "19200,o,7,2");
  EXPECT_TRUE(echo);
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(PropertiesOk, OkWithoutChangesReappliesTheLoadedState) {
  comm.lineSettings = "57600,m,7,1.5";
  comm.port = 4;
  comm.handshake = 1;
  const auto sel = loadPropertySettings(comm, true);
  ASSERT_TRUE(sel.port && sel.line.speed && sel.line.parity && sel.line.dataBits &&
              sel.line.stopBits);
  choice = {*sel.port,
            kSpeedEntries[*sel.line.speed],
            kParityEntries[*sel.line.parity],
            kDataBitsEntries[*sel.line.dataBits],
            kStopBitsEntries[*sel.line.stopBits],
            sel.pendingFlow,
            sel.pendingEcho};
  EXPECT_TRUE(ok());
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"Properties/Settings=57600,m,7,1.5", "Properties/CommPort=4",
                                      "Properties/Handshaking=1", "Properties/Echo=True"}));
}

}  // namespace
}  // namespace vqx
