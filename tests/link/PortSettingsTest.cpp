// The port's settings as behaviour: the port names, the mode text, the read and
// write deadlines, and the termios settings the POSIX backend makes from what a
// port reports.
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

TEST(ModeText, NamesTheSameSpeedParityAndFrameAsTheBlock) {
  EXPECT_EQ(ModeText(), u"baud =9600 parity=2 data=8 stop=1");
}

TEST(Deadlines, ReadsEndAtFifteenPlusFifteenPerByteAndWritesGiveUpLikewise) {
  struct Case {
    const char* name;
    std::size_t bytes;
    std::uint32_t readMs;
    std::uint32_t writeMs;
  };
  const Case cases[] = {
      {"write acknowledgement", 7, 120, 120},
      {"probe reply", 9, 150, 150},
      {"GSM settings reply", 120, 1815, 1815},
      {"calibration frame", 200, 3015, 3015},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadTotalTimeoutMs(c.bytes), c.readMs);
    EXPECT_EQ(WriteTotalTimeoutMs(c.bytes), c.writeMs);
  }
}

termios Reported(tcflag_t iflag, tcflag_t oflag, tcflag_t cflag, tcflag_t lflag, speed_t speed, cc_t vmin,
                 cc_t vtime) {
  termios t{};
  t.c_iflag = iflag;
  t.c_oflag = oflag;
  t.c_cflag = cflag;
  t.c_lflag = lflag;
  t.c_cc[VMIN] = vmin;
  t.c_cc[VTIME] = vtime;
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  return t;
}

TEST(DeviceTermios, GivesRaw9600EightEvenOneWithoutFlowControlFromAnyPort) {
  struct Case {
    const char* name;
    termios reported;
  };
  const Case cases[] = {
      {"cooked 7O2 at 115200 with handshakes",
       Reported(ICRNL | IXON | IXOFF | INPCK | ISTRIP | BRKINT, OPOST | ONLCR, CS7 | PARODD | CSTOPB | CRTSCTS,
                ICANON | ECHO | ECHOE | ISIG | IEXTEN, B115200, 1, 5)},
      {"already raw 8N1 at 9600", Reported(0, 0, CS8 | CREAD | CLOCAL, 0, B9600, 0, 0)},
      {"a blank block", Reported(0, 0, 0, 0, B0, 0, 0)},
      {"5 bits, mark-like parity flags, 300 baud",
       Reported(IGNBRK | PARMRK | INLCR | IGNCR | IXANY, OPOST, CS5 | PARENB | PARODD, ECHONL, B300, 255, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const termios t = DeviceTermios(c.reported);
    EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & PARODD);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | BRKINT | PARMRK | IGNBRK),
              0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    // A line that refuses parity keeps everything else.
    const termios plain = WithoutParity(t);
    EXPECT_FALSE(plain.c_cflag & PARENB);
    EXPECT_EQ(plain.c_cflag | PARENB, t.c_cflag);
    EXPECT_EQ(plain.c_iflag, t.c_iflag);
    EXPECT_EQ(plain.c_lflag, t.c_lflag);
    EXPECT_EQ(cfgetospeed(&plain), static_cast<speed_t>(B9600));
  }
}

}  // namespace
}  // namespace tacho
