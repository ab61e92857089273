// The traffic monitor and the incident log in the running program, on a pseudo-terminal.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "qt/support/pseudo_terminal.h"
#include "qt/support/window_rig.h"
#include "qt/traffic/traffic_recorder.h"

namespace vqx {
namespace {

// A full disk (played by a file size limit) and a folder that cannot be made: the log stops
// with one message, and the program goes on.
TEST(IncidentLog, AFullDiskOrAnUnwritableFolderStopsTheLogWithOneMessage) {
  QTemporaryDir dir;
  QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
  for (const bool full : {true, false}) {
    testing::PseudoTerminal pty;
    testing::WindowRig rig(pty.path());
    rig.logFolder = full ? dir.filePath("log") : dir.filePath("file/log");
    rig.load();
    TrafficRecorder& recorder = *rig.window().recorder();
    recorder.setLogEnabled(true);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit none{0, saved.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    if (full) ::setrlimit(RLIMIT_FSIZE, &none);
    for (const char* key : {"Cinque", "Sei"}) {
      rig.click(key);
      QCoreApplication::processEvents();  // the key action's end
      recorder.flush();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_EQ(rig.prompts.shown.size(), 1u) << full;
    EXPECT_EQ(rig.prompts.shown[0].text.rfind("The incident log has stopped: ", 0), 0u)
        << rig.prompts.shown[0].text;
    EXPECT_FALSE(recorder.logEnabled());
    EXPECT_EQ(pty.read(6), "/05/06") << "the program goes on";
  }
}

}  // namespace
}  // namespace vqx
