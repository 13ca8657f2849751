// The Win32 serial backend where no device is needed: indexes outside the port
// list, a port that does not exist, and operations on the invalid handle.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SerialPort.h"

namespace tacho {
namespace {

class OutsidePortList : public ::testing::TestWithParam<int> {};

TEST_P(OutsidePortList, SetupPortFailsAndOpensNothing) {
  SerialPort port(PortMap("", {}));
  EXPECT_FALSE(port.SetupPort(GetParam()));
  EXPECT_FALSE(port.IsOpen());
}

TEST_P(OutsidePortList, OpenPortLeavesTheHandleInvalid) {
  SerialPort port(PortMap("", {}));
  port.OpenPort(GetParam());
  EXPECT_FALSE(port.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Indexes, OutsidePortList, ::testing::Values(-1, 42, 43, 1000, INT_MIN, INT_MAX));

TEST(InvalidHandle, WriteReadAndCloseDoNothing) {
  SerialPort port(PortMap("", {}));
  const std::array<std::uint8_t, 6> frame{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB};
  std::array<std::uint8_t, 8> buffer;
  buffer.fill(0xA5);

  EXPECT_EQ(port.Write(frame.data(), frame.size()), 0u);
  EXPECT_EQ(port.Read(buffer.data(), buffer.size()), 0u);
  port.Close();
  port.Close();

  EXPECT_FALSE(port.IsOpen());
  for (std::uint8_t b : buffer) EXPECT_EQ(b, 0xA5);
}

// The test stage names a COM number that nothing stands behind in wine's
// prefix; on a machine of its own a port may exist at any number.
TEST(AbsentPort, OpenFails) {
  const char* index = std::getenv("TACHO_ABSENT_PORT_INDEX");
  if (index == nullptr) GTEST_SKIP() << "TACHO_ABSENT_PORT_INDEX is not set";
  SerialPort port(PortMap("", {}));
  EXPECT_FALSE(port.SetupPort(std::stoi(index)));
  EXPECT_FALSE(port.IsOpen());

  const std::array<std::uint8_t, 1> byte{0x02};
  EXPECT_EQ(port.Write(byte.data(), byte.size()), 0u);
}

}  // namespace
}  // namespace tacho
