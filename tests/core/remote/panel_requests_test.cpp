// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a program outside the window may ask of the panel, and what it reads of it.
#include "remote/panel_requests.h"

#include <gtest/gtest.h>

#include "status/status_frame.h"
#include "support/fakes.h"

namespace vqx::remote {
namespace {

// What a request comes to, in words: "Dodici click", "FunctionA press right", or the fault.
std::string outcome(KeyRequest request, std::string_view name) {
  const KeyPlan plan = planKey(request, name);
  if (plan.refusal) return std::string(faultName(plan.refusal->fault));
  const char* gestures[] = {"click", "press", "hold", "lift"};
  return std::string(plan.key->name) + " " + gestures[int(plan.gesture)] +
         (plan.button == MouseButton::Right ? " right" : "");
}

TEST(PanelRequests, KeysByTheirSpokenNamesTakeTheRequestsTheirActionAllows) {
  using R = KeyRequest;
  const std::tuple<KeyRequest, const char*, const char*> rows[] = {
      {R::Press, "Camera 12", "Dodici click"},
      {R::Press, "cAMERA 1", "Uno click"},
      {R::Press, "Kamera 1", "UnknownKey"},
      {R::Press, "Camera 17", "UnknownKey"},
      {R::Press, " Live", "UnknownKey"},
      {R::Press, "Uno", "UnknownKey"},  // the object name is no spoken name
      {R::Press, "", "UnknownKey"},
      {R::Press, "function", "FunctionA press"},
      {R::PressRight, "Function", "FunctionA press right"},
      {R::PressRight, "16 pictures / right", "SediciScreen press right"},
      {R::PressRight, "Zoom", "InvalidArgs"},
      {R::Press, "picture in picture / up", "Pip press"},
      {R::Hold, "4 PICTURES / DOWN", "QuattroScreen hold"},
      {R::Release, "9 pictures / left", "NoveScreen lift"},
      {R::Hold, "Camera 5", "InvalidArgs"},
      {R::Release, "Function", "InvalidArgs"},
  };
  for (const auto& [request, name, expected] : rows) {
    EXPECT_EQ(outcome(request, name), expected) << name;
  }
  EXPECT_EQ(keyNames().size(), 26u);
  EXPECT_EQ(planKey(R::Hold, "Camera 5").refusal->message,
            "\"Camera 5\" does not repeat; the keys held: Picture in picture / up, "
            "4 pictures / down, 9 pictures / left, 16 pictures / right");
}

TEST(PanelRequests, ACameraNumberAHoldsTimeOrTheLineRefusesBeforeAnythingIsSent) {
  for (const long long camera : {0LL, 17LL, -5LL, 4294967301LL}) {
    EXPECT_EQ(checkCamera(camera)->fault, Fault::UnknownCamera) << camera;
  }
  EXPECT_FALSE(checkCamera(1) || checkCamera(16));
  for (const long long ms : {0LL, 10001LL}) EXPECT_EQ(checkHoldTime(ms)->fault, Fault::InvalidArgs);
  EXPECT_FALSE(checkHoldTime(1) || checkHoldTime(10000));
  EXPECT_EQ(numberIn("16"), 16);
  for (const char* text : {"", "5a", " 5", "0x5"}) EXPECT_FALSE(numberIn(text)) << text;

  testing::FakeSerialControl serial;
  EXPECT_EQ(checkLine(serial, "Com1 (/dev/ttyS0)", false)->fault, Fault::PortClosed);
  serial.open = true;
  serial.queued = kSendQueueSize - 8;  // a function variant and "/SQ" need 9
  EXPECT_EQ(checkLine(serial, "", false)->fault, Fault::QueueFull);
  serial.queued = kSendQueueSize - 9;
  EXPECT_FALSE(checkLine(serial, "", false));
  EXPECT_EQ(checkLine(serial, "", true)->fault, Fault::Busy);
}

TEST(PanelRequests, OnlyWhatAFrameChangesIsToldAndTheCameraIsNoneWhenItNamesNone) {
  PanelView before;
  PanelView view;
  showFrame(view, decodeStatusFrame({0xFF, 0x77, 0x7B, 0x37}));
  EXPECT_EQ(view.camera, 12);
  EXPECT_EQ(view.litKeys, std::vector<std::string>{"4 pictures / down"});
  EXPECT_EQ(view.litLamps, std::vector<std::string>{"Live lamp"});
  EXPECT_EQ(changedProperties(before, view),
            (std::vector{Property::Camera, Property::LitKeys, Property::LitLamps}));

  before = view;
  showFrame(view, decodeStatusFrame({0xFF, 0x77, 0x7B, 0x37}));
  EXPECT_TRUE(changedProperties(before, view).empty()) << "a repeated frame tells nothing";
  showFrame(view, decodeStatusFrame({0xFF, 0x7F, 0x7B, 0x37}));
  EXPECT_EQ(changedProperties(before, view), std::vector{Property::Camera});
  EXPECT_EQ(view.camera, 0);
  showLink(view, {LinkState::Open, "open", ""}, 2, "/dev/ttyS1");
  EXPECT_EQ(std::pair(view.linkState, view.port), std::pair(std::string("open"), 2));
}

TEST(PanelRequests, TheOriginNamesTheCallerAndItsProcessOnOneLine) {
  EXPECT_EQ(originText("D-Bus :1.42", 1234, "alarm-door"), "D-Bus :1.42, process 1234 alarm-door");
  EXPECT_EQ(originText("D-Bus :1.42", 7, "x\n03:00 out\x7F"), "D-Bus :1.42, process 7 x?03:00 out?");
  EXPECT_EQ(originText("D-Bus :1.9", std::nullopt, "ignored"), "D-Bus :1.9");
}

}  // namespace
}  // namespace vqx::remote
