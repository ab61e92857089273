// The main window with the real serial control on a pseudo-terminal: what reaches the line
// through the key transmission, with the port open and closed, with and without echo.
#include <gtest/gtest.h>

#include <QTest>

#include "qt/app/terminal_text_box.h"
#include "qt/support/pseudo_terminal.h"
#include "qt/support/window_rig.h"

namespace vqx {
namespace {

using testing::PseudoTerminal;
using testing::WindowRig;

TEST(TerminalOnLine, EveryByteReachesTheLineInOrderOnlyWhileThePortIsOpen) {
  PseudoTerminal line;
  ASSERT_TRUE(line.isOpen());
  WindowRig rig(line.path());
  frmTerminal& window = rig.load();
  ASSERT_TRUE(rig.checked()) << (rig.prompts.shown.empty() ? "" : rig.prompts.shown[0].text);

  for (std::int16_t code : {47, 0, 1, 47, 65, 85, 255}) window.txtTerm_KeyPress(code);
  EXPECT_EQ(line.read(7), std::string("/\0\1/AU\xff", 7));

  QTest::keyClicks(window.txtTerm(), "ab");  // echo off: sent, not shown
  EXPECT_EQ(line.read(2), "ab");
  EXPECT_EQ(window.txtTerm()->box().text(), "");

  rig.clickOpen();  // closed: nothing on the line, typing shows in the box
  EXPECT_FALSE(rig.checked());
  std::int16_t code = 'x';
  window.txtTerm_KeyPress(code);
  QTest::keyClicks(window.txtTerm(), "c");
  EXPECT_EQ(line.readFor(100), "");
  EXPECT_EQ(window.txtTerm()->box().text(), "c");
  EXPECT_TRUE(rig.prompts.shown.empty());

  rig.clickOpen();
  EXPECT_TRUE(rig.checked());
  window.txtTerm_KeyPress(code = 'y');
  EXPECT_EQ(line.read(1), "y");
}

TEST(TerminalOnLine, EchoShowsWhatIsSent) {
  PseudoTerminal line;
  ASSERT_TRUE(line.isOpen());
  WindowRig rig(line.path());
  rig.store.put("Echo", "True");
  frmTerminal& window = rig.load();
  ASSERT_TRUE(window.Echo());
  QTest::keyClicks(window.txtTerm(), "ok");
  EXPECT_EQ(line.read(2), "ok");
  EXPECT_EQ(window.txtTerm()->box().text(), "ok");
}

}  // namespace
}  // namespace vqx
