// The POSIX serial port, through the real code, on the emulator's pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "Frames.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using emu::Fault;
using test::Bytes;
using test::LinkBench;
using Clock = std::chrono::steady_clock;

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

long long MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

TEST(SerialPort, SetupGivesARawEightBitLineWithBothBuffersEmpty) {
  LinkBench b;
  auto device = b.Device(3);
  device->SendUnsolicited({0x55, 0x66, 0x77});  // left on the line before the open
  ASSERT_TRUE(b.port.SetupPort(2));
  const termios t = device->LineSettings();
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  std::uint8_t buf[9] = {};
  EXPECT_EQ(b.port.Read(buf, 9), 0u);  // the purge discarded the leftovers
}

TEST(SerialPort, WritesAndReadsThroughTheEmulator) {
  LinkBench b;
  auto device = b.Device(3);
  ASSERT_TRUE(b.port.SetupPort(2));
  EXPECT_EQ(b.port.Write(kProbeFrame.data(), kProbeFrame.size()), 6u);
  std::uint8_t reply[9] = {};
  EXPECT_EQ(b.port.Read(reply, 7), 7u);  // ends as soon as 7 bytes are in
  EXPECT_EQ(Bytes(reply, reply + 2), (Bytes{0x02, 0x49}));
  EXPECT_EQ(device->ReceivedFrames(), (std::vector<Bytes>{Bytes(kProbeFrame.begin(), kProbeFrame.end())}));
}

TEST(SerialPort, AReadEndsWhenTheLineFallsQuietOrAtItsDeadline) {
  LinkBench b;
  auto device = b.Device(3);
  ASSERT_TRUE(b.port.SetupPort(2));
  const std::uint8_t gsmRead[] = {0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB};
  b.port.Write(gsmRead, 6);
  std::uint8_t reply[120] = {};
  // 110 bytes come; then the line is quiet for more than 15 ms.
  EXPECT_EQ(b.port.Read(reply, 120), 110u);

  device->SetFault(Fault::Silent);
  b.port.Write(gsmRead, 6);
  const auto start = Clock::now();
  EXPECT_EQ(b.port.Read(reply, 7), 0u);
  const long long took = MsSince(start);
  EXPECT_GE(took, 120);   // 15 + 15 * 7 ms
  EXPECT_LT(took, 1000);  // and then it does end
}

TEST(SerialPort, ASecondOpenOfAPortInUseFails) {
  LinkBench b;
  auto device = b.Device(4);
  ASSERT_TRUE(b.port.SetupPort(3));
  SerialPort other = b.OtherPort();
  EXPECT_FALSE(other.SetupPort(3));
  EXPECT_FALSE(other.IsOpen());
  b.port.Close();
  EXPECT_TRUE(other.SetupPort(3));
}

TEST(SerialPort, APortAnotherProgramHoldsCannotBeOpened) {
  LinkBench b;
  auto device = b.Device(5);
  const int fd = ::open(device->LinkPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(b.port.SetupPort(4));
  ::close(fd);
}

TEST(SerialPort, MissingPortOrAPathThatIsNoTerminalFailsToOpen) {
  LinkBench b;
  const std::string file = b.folder.path() + "/plain-file";
  std::ofstream(file) << "keep";
  ASSERT_EQ(::symlink(file.c_str(), (b.folder.path() + "/COM6").c_str()), 0);
  EXPECT_FALSE(b.port.SetupPort(5));  // a regular file
  EXPECT_FALSE(b.port.SetupPort(0));  // nothing linked
  const std::uint8_t data[] = {1, 2, 3};
  EXPECT_EQ(b.port.Write(data, 3), 0u);
  EXPECT_EQ(FileText(file), "keep");
}

TEST(SerialPort, AfterACloseTheHandleIsInvalidAndTouchesNoOtherFile) {
  LinkBench b;
  auto device = b.Device(3);
  ASSERT_TRUE(b.port.SetupPort(2));
  b.port.Close();
  EXPECT_FALSE(b.port.IsOpen());
  // The descriptor number just freed goes to the next file opened.
  const std::string file = b.folder.path() + "/other-file";
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  const std::uint8_t data[] = {0x02, 0x49, 0x00};
  std::uint8_t buf[4] = {};
  EXPECT_EQ(b.port.Write(data, 3), 0u);
  EXPECT_EQ(b.port.Read(buf, 4), 0u);
  b.port.Close();
  EXPECT_EQ(::write(fd, "ok", 2), 2);  // still open: the port's close left it alone
  ::close(fd);
  EXPECT_EQ(FileText(file), "ok");
}

TEST(SerialPort, AnIndexOutsideTheFortyTwoPortsIsAnOpenError) {
  for (int index : {-1, 42, 1000}) {
    SCOPED_TRACE(index);
    LinkBench b;
    auto device = b.Device(1);
    b.port.OpenPort(index);
    EXPECT_FALSE(b.port.IsOpen());
    ASSERT_TRUE(b.port.SetupPort(0));
    EXPECT_FALSE(b.port.SetupPort(index));
    EXPECT_FALSE(b.port.IsOpen()) << "never goes on with the port opened before";
    }
}

TEST(SerialPort, AHungUpLineEndsReadsAndWritesAtOnce) {
  LinkBench b;
  auto device = b.Device(3, Fault::HangUp);
  ASSERT_TRUE(b.port.SetupPort(2));
  const std::uint8_t gsmRead[] = {0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB};
  b.port.Write(gsmRead, 6);
  std::uint8_t reply[120] = {};
  EXPECT_EQ(b.port.Read(reply, 120), 0u);
  b.port.Write(gsmRead, 6);
  b.port.Close();
  // The device came back on a new pseudo-terminal under the same link.
  device->SetFault(Fault::None);
  ASSERT_TRUE(b.port.SetupPort(2));
  b.port.Write(gsmRead, 6);
  EXPECT_EQ(b.port.Read(reply, 120), 110u);
}

TEST(SerialPort, TheEmulatorJudgesBadFramesWithANonZeroStatus) {
  struct Case {
    const char* what;
    Bytes frame;
  };
  const Case cases[] = {
      {"good", {0x02, 0x49, 0x00, 0xD1, 0x00, 0xE3}},
      {"bad checksum", {0x02, 0x49, 0x00, 0xD1, 0x00, 0xE4}},
      {"bad length byte", {0x02, 0x49, 0x01, 0xB9, 0x00, 0xFA}},
      {"unknown command", {0x02, 0x49, 0x00, 0x77, 0x00, 0x3D}},
  };
  LinkBench b;
  auto device = b.Device(3);
  ASSERT_TRUE(b.port.SetupPort(2));
  for (const Case& c : cases) {
    b.port.Write(c.frame.data(), c.frame.size());
    std::uint8_t reply[7] = {};
    ASSERT_EQ(b.port.Read(reply, 7), 7u) << c.what;
    EXPECT_EQ(reply[0], 0x02) << c.what;
    EXPECT_EQ(reply[5] == 0x00, std::string(c.what) == "good") << c.what;
  }
}

}  // namespace
}  // namespace tacho
