// The Win32 serial backend where no device is needed: indexes outside the port
// list, a port that does not exist, and operations on the invalid handle.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DcbSettings.h"
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

// The block applied to a port starts from what the port reports: speed, frame
// and fNull change; handshaking and every other field stay as reported.
TEST(DeviceDcb, SetsTheLineAndKeepsWhatThePortReported) {
  struct Case {
    const char* name;
    DCB reported;
  };
  DCB handshakes{};
  handshakes.BaudRate = 115200;
  handshakes.ByteSize = 7;
  handshakes.Parity = ODDPARITY;
  handshakes.StopBits = TWOSTOPBITS;
  handshakes.fNull = TRUE;
  handshakes.fOutxCtsFlow = TRUE;
  handshakes.fRtsControl = RTS_CONTROL_HANDSHAKE;
  handshakes.fOutX = TRUE;
  handshakes.fInX = TRUE;
  handshakes.fParity = TRUE;
  handshakes.XonChar = 0x11;
  handshakes.XoffChar = 0x13;
  DCB blank{};
  DCB already{};
  already.DCBlength = sizeof(DCB);
  already.BaudRate = CBR_9600;
  already.ByteSize = 8;
  already.Parity = EVENPARITY;
  already.StopBits = ONESTOPBIT;
  already.fBinary = TRUE;
  const Case cases[] = {{"115200 7O2 with handshakes and nulls dropped", handshakes},
                        {"a blank block", blank},
                        {"already 9600 8E1", already}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DCB d = DeviceDcb(c.reported);
    EXPECT_EQ(d.DCBlength, sizeof(DCB));
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, EVENPARITY);
    EXPECT_EQ(d.StopBits, ONESTOPBIT);
    EXPECT_EQ(d.fNull, 0u) << "received zero bytes are kept";
    EXPECT_EQ(d.fOutxCtsFlow, c.reported.fOutxCtsFlow);
    EXPECT_EQ(d.fOutxDsrFlow, c.reported.fOutxDsrFlow);
    EXPECT_EQ(d.fRtsControl, c.reported.fRtsControl);
    EXPECT_EQ(d.fDtrControl, c.reported.fDtrControl);
    EXPECT_EQ(d.fOutX, c.reported.fOutX);
    EXPECT_EQ(d.fInX, c.reported.fInX);
    EXPECT_EQ(d.fParity, c.reported.fParity);
    EXPECT_EQ(d.fBinary, c.reported.fBinary);
    EXPECT_EQ(d.XonChar, c.reported.XonChar);
    EXPECT_EQ(d.XoffChar, c.reported.XoffChar);
  }
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
