// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Status frames from the device: alignment, decoding, and the receive path through the terminal
// box, with bytes written in hexadecimal ("FF 77 7B 37").
#include <gtest/gtest.h>

#include <sstream>

#include "status/receive_display.h"
#include "status/status_handler.h"
#include "status/status_words.h"
#include "support/fakes.h"
#include "traffic/traffic.h"

namespace vqx {
namespace {

std::string hex(const std::string& text) {
  std::istringstream in(text);
  std::string bytes;
  for (int byte; in >> std::hex >> byte;) bytes.push_back(static_cast<char>(byte));
  return bytes;
}

// Each row: what is in the box beforehand; blocks of received bytes, one receive event each,
// separated by "|"; what each event showed: a decoded frame in words or "-", and after a "+"
// each whole frame the panel did not follow and what formed no frame; and what is left in the box.
TEST(StatusHandler, BlocksOfReceivedBytesDecodeTheFirstFourCharactersOfTheBox) {
  const std::string twelve = "camera 12 on the main monitor, live, 4-picture key lit";
  const struct {
    std::string typed{};
    std::string blocks{};
    std::string shown{};
    std::string left{};
  } cases[] = {
      // clang-format off
      {.blocks = "FE 7F 7F 3F", .shown = "camera 1 on the main monitor"},
      {.blocks = "7F 7F 3F FE", .shown = "camera 1 on the main monitor"},
      {.blocks = "FF 77 7B 37", .shown = twelve},
      {.blocks = "FF 7F 7F 3F", .shown = "no camera"},
      {.typed = "FF 77", .blocks = "7B 37", .shown = twelve},
      {.blocks = "FF 7F 00 00", .shown = "camera 16 on the main monitor, function lamp, live, "
       "tape, sequence running, call monitor, zoom key lit, picture-in-picture key lit, 4-picture "
       "key lit, 9-picture key lit, 16-picture key lit, beep"},
      {.blocks = "FF 77|7B 37", .shown = "-|" + twelve},
      {.blocks = "FF|77|7B|37", .shown = "-|-|-|" + twelve},
      {.blocks = "FF 77 7B 37 FE 7F 7F 3F 61 62|78",
       .shown = twelve + " + frame FE 7F 7F 3F + 61 62|-", .left = "78"},
      {.blocks = "41 42 43 44|7F 77 7B 37 FF", .shown = "- + 41 42 43 44|- + 7F 77 7B 37 FF"},
      {.typed = "68 65 6C 6C 6F", .blocks = "FE 7F 7F 3F",
       .shown = "- + 68 65 6C 6C 6F + frame FE 7F 7F 3F"},
      // A line feed vanishes, a carriage return gains one, a backspace erases the byte before it.
      {.blocks = "FF 0A 7B 37", .shown = "-", .left = "FF 7B 37"},
      {.blocks = "FF 77 08 37", .shown = "-", .left = "FF 37"},
      {.blocks = "FF 0D 7B 37", .shown = "camera 8 on the main monitor, function lamp, live, "
       "sequence running, 16-picture key lit + 37"},
      {.blocks = "FF 77|08 7B 37", .shown = "-|-", .left = "FF 7B 37"},
      // clang-format on
  };
  for (const auto& [typed, blocks, shown, left] : cases) {
    testing::FakeSerialControl comm;
    TerminalBox box;
    box.setText(hex(typed));
    std::string got;
    std::istringstream in(blocks);
    for (std::string block; std::getline(in, block, '|');) {
      comm.received = hex(block);
      ReceivedTrace trace;
      const auto indicators = receiveStatus(comm, box, &trace);
      got += (got.empty() ? "" : "|") + (indicators ? describeStatus(*indicators) : "-");
      for (const ReceivedPart& part : trace.parts) {
        EXPECT_EQ(part.onPanel, part.frame && indicators && &part == &trace.parts[0]);
        if (!part.onPanel) got += (part.frame ? " + frame " : " + ") + hexText(part.bytes);
      }
    }
    EXPECT_EQ(got, shown) << blocks;
    EXPECT_EQ(box.text(), hex(left)) << blocks;
  }
  for (int event : {1, 3, 6, 1004, 1008, 1011}) {  // send, CTS, ring and line errors
    testing::FakeSerialControl comm;
    TerminalBox box;
    comm.received = hex("FE 7F 7F 3F");
    comm.event = event;
    EXPECT_FALSE(receiveStatus(comm, box)) << event;
    EXPECT_EQ(comm.received.size(), 4u) << "Input read on event " << event;
  }
}

// A listener hears what is received while it listens, and no longer.
TEST(StatusReceiver, AListenerHearsTheReceivedStatusOnlyWhileItListens) {
  struct Counter : StatusListener {
    int heard = 0;
    void statusReceived(const ReceivedStatus&) override { ++heard; }
  } staying, leaving;
  testing::FakeSerialControl comm;
  TerminalBox box;
  StatusReceiver receiver(comm, box);
  receiver.addListener(staying);
  receiver.addListener(leaving);
  receiver.removeListener(leaving);
  receiver.commEvent();
  EXPECT_EQ(std::pair(staying.heard, leaving.heard), std::pair(1, 0));
}

// The box's selection as a text box keeps it: within the text, replaced by what is typed over it,
// and gone with a new text.
TEST(TerminalBox, TypingReplacesTheSelectionWhichStaysWithinTheText) {
  TerminalBox box;
  const auto shown = [&] {
    const std::string selected = std::to_string(box.selLength());
    return box.text() + " " + std::to_string(box.selStart()) + "+" + selected;
  };
  box.setText("abcd");
  box.setSelStart(2);
  box.setSelLength(5);
  EXPECT_EQ(shown(), "abcd 2+2");
  box.setSelText("XYZ");
  EXPECT_EQ(shown(), "abXYZ 5+0");
  box.setSelStart(9);
  box.setSelLength(1);
  EXPECT_EQ(shown(), "abXYZ 5+0");
  box.setText("q");
  EXPECT_EQ(shown(), "q 0+0");
}

// Each row: the box, the bytes received, the box after.
TEST(ReceiveDisplay, EditsTheTextAsATerminalAndAppendsIt) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"58 59 5A", "41 42 08 43", "58 59 5A 41 43"}, {"58 59 5A", "08 51", "58 59 51"},
      {"58 59 5A", "08 08 51", "58 59 51"}, {"", "08 51", "51"}, {"58 59 5A", "41 08", "58 59 5A"},
      {"58 59 5A", "08", "58 59"}, {"58 59 5A", "41 08 08 51", "58 59 51"},
      {"", "41 42 43 08 08 44", "41 44"}, {"", "0A 41 0D 0A 42", "41 0D 0A 42"},
      {"", "0D 0D", "0D 0A 0D 0A"}, {"", "41 0A 08 42", "41 42"}, {"", "41 0D 08", "41"},
      {"", "FE 7F FF 80 00", "FE 7F FF 80 00"}};
  // clang-format on
  for (const auto& [before, received, after] : cases) {
    TerminalBox box;
    box.setText(hex(before));
    box.setSelStart(1);  // wherever the caret was, the text goes to the end
    std::string text = hex(received);
    displayReceived(box, text);
    EXPECT_EQ(std::pair(box.text(), box.selStart()), std::pair(hex(after), box.size())) << received;
  }
  // A box over 16000 characters loses its oldest 4096 first.
  for (const auto& [before, kept] : {std::pair(16000, 16000), {16001, 11905}, {40000, 35904}}) {
    std::string initial;
    for (int i = 0; i < before; ++i) initial.push_back(static_cast<char>('a' + i % 26));
    TerminalBox box;
    box.setText(initial);
    std::string text = "\bQ";  // a leading backspace takes the last character of what is kept
    displayReceived(box, text);
    EXPECT_EQ(box.text(), initial.substr(before - kept, kept - 1) + "Q") << before;
  }
}

}  // namespace
}  // namespace vqx
