// The device emulator itself: its link, its readable account of frames, and the
// program the README starts as the demo device.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <thread>

#include "FrameText.h"
#include "Frames.h"
#include "LinkFixture.h"
#include "TextCodec.h"

extern char** environ;

namespace tacho {
namespace {

using test::Bytes;
using test::Cat;
using test::LinkBench;
using test::Repeat;

bool Exists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

TEST(Emulator, LinksItsTerminalAsComNAndRemovesTheLinkWhenDone) {
  test::TempFolder folder;
  std::string link;
  {
    emu::EmulatorOptions options;
    options.portFolder = folder.path() + "/ports";
    options.comNumber = 17;
    emu::DeviceEmulator device(options);
    link = device.LinkPath();
    EXPECT_EQ(link, folder.path() + "/ports/COM17");
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), device.DevicePath());
    EXPECT_EQ(device.DevicePath().rfind("/dev/pts/", 0), 0u);
  }
  EXPECT_FALSE(Exists(link));
  ::rmdir((folder.path() + "/ports").c_str());
}

TEST(Emulator, FaultNamesReadBack) {
  std::set<std::string_view> names;
  for (emu::Fault f : emu::kAllFaults) {
    EXPECT_EQ(emu::ParseFault(emu::FaultName(f)), f) << emu::FaultName(f);
    names.insert(emu::FaultName(f));
  }
  EXPECT_EQ(names.size(), std::size(emu::kAllFaults)) << "every fault has a name of its own";
  EXPECT_EQ(emu::ParseFault("loud"), std::nullopt);
}

TEST(Emulator, DescribesAGsmWriteFrameFieldByField) {
  const Bytes record = Cat({{0x31, 0x30, 0x2E, 0x31, 0x2E, 0x32, 0x2E, 0x33}, Repeat(0x20, 7),
                            {0x32, 0x31, 0x34, 0x30, 0x30}, {0x22, 0x61, 0x22}, {0x00}, Repeat(0x20, 46),
                            {0x04, 0x01}, Repeat(0xFF, 32)});
  Bytes frame = Cat({{0x02, 0x49, 0x68, 0x39, 0x00}, record});
  frame.push_back(Checksum(frame.data(), frame.size()));
  const std::string text = emu::DescribeFrame(frame, emu::kStatusOk);
  for (const char* part : {"GSM_write", "110 bytes, good", "IP: \"10.1.2.3       \"", "port: \"21400\"",
                           "operator: \"\"a\"\" (ends at byte 23)", "transfer interval: 40 s", "saving interval: 5 s",
                           "02 49 68 39 00 31 30 2E"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;
  }
}

TEST(Emulator, DescribesACalibrationRecordInReadableText) {
  Bytes record(184, 0xFF);
  const std::string vin = "XYZ12345678901234";
  std::copy(vin.begin(), vin.end(), record.begin() + 95);
  const std::string workshop = ToAnsi(u"РФ") + std::string(13, ' ');
  std::copy(workshop.begin(), workshop.end(), record.begin() + 169);
  record[127] = 0x40, record[128] = 0x1F, record[129] = 0, record[130] = 0;
  Bytes head = Cat({{0x02, 0x49, 0xAA, 0x38, 0x00}, Bytes(record.begin(), record.begin() + 169)});
  const Bytes frame = Cat({head, {Checksum(head.data(), head.size())}, Repeat(0, 10), Bytes(record.begin() + 169, record.end())});
  const std::string text = emu::DescribeFrame(frame, emu::kStatusOk);
  for (const char* part : {"write (calibration record), 200 bytes, good", "VIN: \"XYZ12345678901234\"", "W: 8000",
                           "workshop: \"РФ             \""}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;
  }
  EXPECT_NE(emu::DescribeFrame(frame, emu::kStatusBadChecksum).find("BAD CHECKSUM"), std::string::npos);
}

TEST(Emulator, IgnoresStrayBytesAndDropsAnIncompleteFrame) {
  LinkBench b;
  auto device = b.Device(1);
  ASSERT_TRUE(b.port.SetupPort(0));
  const Bytes junk{0x00, 0x7F, 0x02, 0x02, 0x49, 0x00, 0xB9};  // ends in a frame cut short
  b.port.Write(junk.data(), junk.size());
  std::uint8_t reply[9];
  EXPECT_EQ(b.port.Read(reply, 9), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the cut frame is dropped by now
  b.port.Write(kProbeFrame.data(), kProbeFrame.size());
  EXPECT_EQ(b.port.Read(reply, 7), 7u);
  EXPECT_EQ(device->ReceivedFrames(), (std::vector<Bytes>{Bytes(kProbeFrame.begin(), kProbeFrame.end())}));
}

// The program prints its terminal's path first, answers, and removes its link on SIGTERM.
TEST(EmulatorProgram, PrintsItsTerminalAnswersAndCleansUp) {
  LinkBench b;
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const std::string program = TACHO_EMULATOR_PROGRAM;
  std::vector<std::string> args{program, "--folder", b.folder.path(), "--com", "9", "--reply-delay", "1"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  FILE* lines = ::fdopen(out[0], "r");
  char line[512];
  ASSERT_TRUE(std::fgets(line, sizeof line, lines));
  EXPECT_EQ(std::string(line).rfind("PTY /dev/pts/", 0), 0u) << line;
  ASSERT_TRUE(std::fgets(line, sizeof line, lines));
  EXPECT_EQ(std::string(line), "LINK " + b.folder.path() + "/COM9\n");

  ASSERT_TRUE(b.port.SetupPort(8));
  b.port.Write(kProbeFrame.data(), kProbeFrame.size());
  std::uint8_t reply[7] = {};
  EXPECT_EQ(b.port.Read(reply, 7), 7u);
  EXPECT_EQ(reply[1], 0x49);
  b.port.Close();

  std::string printed;
  while (std::fgets(line, sizeof line, lines)) {
    printed += line;
    if (printed.find("02 49 00 D1 00 E3") != std::string::npos) break;
  }
  EXPECT_NE(printed.find("<< probe, 6 bytes, good"), std::string::npos) << printed;
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::fclose(lines);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(Exists(b.folder.path() + "/COM9"));
}

}  // namespace
}  // namespace tacho
