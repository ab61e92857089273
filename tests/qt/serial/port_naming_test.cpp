#include "qt/serial/port_naming.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vqx {
namespace {

TEST(PortNaming, StoredPortsNameTheDeviceElseThePlatformsNumbering) {
  testing::FakeSettingsStore store;
  store.setValue(kAppTitle, "Ports", "Com1", "/dev/ttyUSB0");
  store.setValue(kAppTitle, "Ports", "Com4", "  /dev/pts/7 ");
  store.setValue(kAppTitle, "Ports", "Com5", "");
  store.setValue(kAppTitle, "Properties", "Com6", "/dev/wrong-section");
  const struct {
    int port;
    const char* device;
  } cases[] = {{1, "/dev/ttyUSB0"}, {4, "/dev/pts/7"},   {2, "/dev/ttyS1"},    {5, "/dev/ttyS4"},
               {6, "/dev/ttyS5"},   {16, "/dev/ttyS15"}, {255, "/dev/ttyS254"}};
  for (const auto& c : cases) {
    EXPECT_EQ(portDeviceName(c.port, store).toStdString(), c.device) << c.port;
  }
}

}  // namespace
}  // namespace vqx
