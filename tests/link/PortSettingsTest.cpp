// The port's settings as plain data: names, device control block, mode text,
// time-outs, and the termios settings of the POSIX backend.
#include <gtest/gtest.h>

#include "PortSettings.h"
#include "TermiosSettings.h"

namespace tacho {
namespace {

TEST(PortName, ComOneToNineAndDeviceNamespaceFromTen) {
  const std::pair<int, std::u16string> cases[] = {
      {0, u"COM1"}, {8, u"COM9"}, {9, u"\\\\.\\COM10"}, {41, u"\\\\.\\COM42"}, {-1, u""}, {42, u""},
  };
  for (const auto& [index, name] : cases) EXPECT_EQ(PortName(index), name) << index;
  EXPECT_EQ(PortName(9).size(), 9u);  // two backslashes, a full stop, a backslash, COM10
}

TEST(DeviceControlBlock, NineHundredBaudEightEvenOneAndNullsKept) {
  EXPECT_EQ(kDcbFields.BaudRate, 9600u);
  EXPECT_EQ(kDcbFields.ByteSize, 8);
  EXPECT_EQ(kDcbFields.Parity, 2);
  EXPECT_EQ(kDcbFields.StopBits, 0);
  EXPECT_EQ(kDcbFields.fNullBit, 11);
  EXPECT_EQ(ModeText(), u"baud =9600 parity=2 data=8 stop=1");
  EXPECT_EQ(kPurgeFlags, 12u);
  EXPECT_EQ(kEventMask, 1u);
}

TEST(CommTimeouts, AllFifteenAndTheDeadlinesTheyGive) {
  EXPECT_EQ(kCommTimeouts.ReadIntervalTimeout, 15u);
  EXPECT_EQ(kCommTimeouts.ReadTotalTimeoutMultiplier, 15u);
  EXPECT_EQ(kCommTimeouts.ReadTotalTimeoutConstant, 15u);
  EXPECT_EQ(kCommTimeouts.WriteTotalTimeoutMultiplier, 15u);
  EXPECT_EQ(kCommTimeouts.WriteTotalTimeoutConstant, 15u);
  EXPECT_EQ(ReadTotalTimeoutMs(7), 120u);
  EXPECT_EQ(ReadTotalTimeoutMs(9), 150u);
  EXPECT_EQ(ReadTotalTimeoutMs(120), 1815u);
  EXPECT_EQ(WriteTotalTimeoutMs(200), 3015u);
}

TEST(DeviceTermios, GivesRaw9600EightEvenOneWithoutFlowControl) {
  // A port as a terminal program might leave it: cooked, 7O2 at 115200 with handshakes.
  termios reported{};
  reported.c_iflag = ICRNL | IXON | IXOFF | INPCK | ISTRIP | BRKINT;
  reported.c_oflag = OPOST | ONLCR;
  reported.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
  reported.c_cflag = CS7 | PARODD | CSTOPB | CRTSCTS;
  reported.c_cc[VMIN] = 1;
  reported.c_cc[VTIME] = 5;
  cfsetispeed(&reported, B115200);
  cfsetospeed(&reported, B115200);

  const termios t = DeviceTermios(reported);
  EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(t.c_cflag & PARENB);
  EXPECT_FALSE(t.c_cflag & PARODD);
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_TRUE(t.c_cflag & CREAD);
  EXPECT_TRUE(t.c_cflag & CLOCAL);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | BRKINT | PARMRK), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);

  const termios plain = WithoutParity(t);
  EXPECT_FALSE(plain.c_cflag & PARENB);
  EXPECT_EQ(plain.c_cflag | PARENB, t.c_cflag);
  EXPECT_EQ(plain.c_lflag, t.c_lflag);
  EXPECT_EQ(cfgetospeed(&plain), static_cast<speed_t>(B9600));
}

}  // namespace
}  // namespace tacho
