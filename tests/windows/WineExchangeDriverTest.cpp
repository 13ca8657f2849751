// The Linux side of the exchange tests under wine: plays the device on a
// pseudo-terminal, links it where wine's COM40 leads, starts one test of a
// Windows program under wine (WineExchangeClient for the commands alone, the
// window test program for commands run through the Win32 window), and checks
// byte for byte what reached the device. Run by scripts/test.d/20-windows.sh,
// which sets WINEPREFIX, TACHO_WINE (the wine loader), TACHO_WINE_CLIENT and
// TACHO_WINE_WINDOW_CLIENT (the .exe files), and TACHO_EMULATOR_LINK, the link
// that the prefix's COM40 points to (without it, com40 in dosdevices itself).
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "DeviceEmulator.h"
#include "WineExchangeCases.h"
#include "WorkedFrames.h"

extern char** environ;

namespace tacho {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

constexpr auto kClientTimeout = std::chrono::seconds(120);

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

emu::GsmRecord Record(const Bytes& bytes) {
  emu::GsmRecord record{};
  std::copy(bytes.begin(), bytes.end(), record.begin());
  return record;
}

class WineExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = Env("WINEPREFIX");
    wine_ = Env("TACHO_WINE");
    client_ = Env("TACHO_WINE_CLIENT");
    if (prefix_.empty() || wine_.empty() || client_.empty())
      GTEST_SKIP() << "needs WINEPREFIX, TACHO_WINE and TACHO_WINE_CLIENT (see scripts/test.d/20-windows.sh)";

    emu::EmulatorOptions options;
    options.createLink = false;
    // Replies at once: the reply waits in the line for the tool's single read,
    // so a busy machine cannot push it past the read's time-out.
    options.realisticPacing = false;
    emulator_ = std::make_unique<emu::DeviceEmulator>(options);
    emulator_->SetGsmRecord(Record(test::FullGsmRecord()));

    // wine keeps its own links to the machine's serial devices in the same
    // folder: never take over one of those.
    link_ = Env("TACHO_EMULATOR_LINK").empty()
                ? fs::path(prefix_) / "dosdevices" / ("com" + std::to_string(wine::kEmulatorComNumber))
                : fs::path(Env("TACHO_EMULATOR_LINK"));
    std::error_code ec;
    if (fs::is_symlink(link_, ec)) {
      const std::string target = fs::read_symlink(link_, ec).string();
      ASSERT_EQ(target.rfind("/dev/pts/", 0), 0u) << link_ << " points to " << target << ", not to a pseudo-terminal";
      fs::remove(link_, ec);
    }
    ASSERT_FALSE(fs::exists(fs::symlink_status(link_))) << link_ << " is taken";
    fs::create_symlink(emulator_->DevicePath(), link_, ec);
    ASSERT_FALSE(ec) << "cannot link " << link_ << ": " << ec.message();

    setenv("TZ", wine::kTimeZone, 1);
    tzset();
  }

  void TearDown() override {
    if (!link_.empty()) {
      std::error_code ec;
      fs::remove(link_, ec);
    }
    emulator_.reset();
  }

  // Runs WineExchange.<test> of the Windows program; its exit status.
  int RunClient(const std::string& test) { return RunProgram(client_, "WineExchange." + test); }

  // Runs WindowEndToEnd.<test> of the window test program; its exit status.
  int RunWindowClient(const std::string& test) {
    return RunProgram(Env("TACHO_WINE_WINDOW_CLIENT"), "WindowEndToEnd." + test);
  }

  int RunProgram(const std::string& program, const std::string& test) {
    const std::string filter = "--gtest_filter=" + test;
    std::vector<std::string> args{wine_, program, filter, "--gtest_brief=1"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env{"TACHO_EMULATOR_PORT=" + std::to_string(wine::kEmulatorComNumber)};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawnp(&pid, wine_.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + kClientTimeout;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the Windows program ran longer than " << kClientTimeout.count() << " s";
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string prefix_, wine_, client_;
  fs::path link_;
  std::unique_ptr<emu::DeviceEmulator> emulator_;
};

TEST_F(WineExchange, CalibrationWriteReachesTheDeviceByteForByte) {
  ASSERT_EQ(RunClient("CalibrationWrite"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::WorkedCalibrationFrame());
  const auto record = emulator_->LastCalibrationRecord();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(Bytes(record->begin(), record->end()), test::WorkedCalibrationRecord());
}

TEST_F(WineExchange, GsmReadSendsItsSixBytesAndShowsTheDeviceSettings) {
  ASSERT_EQ(RunClient("GsmRead"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::kGsmReadFrame);
}

TEST_F(WineExchange, GsmWriteReachesTheDeviceByteForByte) {
  ASSERT_EQ(RunClient("GsmWrite"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::WorkedGsmWriteFrame());
  EXPECT_EQ(emulator_->GetGsmRecord(), Record(test::WorkedGsmRecord()));
}

TEST_F(WineExchange, OpeningAndClosingSendsNothing) {
  ASSERT_EQ(RunClient("PortOpensClosesAndReopens"), 0);
  EXPECT_TRUE(emulator_->ReceivedBytes().empty());
}

// The same commands, started by clicks in the Win32 window.
class WineWindow : public WineExchange {
 protected:
  void SetUp() override {
    if (Env("TACHO_WINE_WINDOW_CLIENT").empty()) GTEST_SKIP() << "needs TACHO_WINE_WINDOW_CLIENT";
    WineExchange::SetUp();
  }
};

TEST_F(WineWindow, SearchFindsTheDeviceAndSendsItTheProbe) {
  ASSERT_EQ(RunWindowClient("SearchFindsTheDeviceOnItsPort"), 0);
  // The probe frame and its seventh byte, 0x00.
  const Bytes probe{0x02, 0x49, 0x00, 0xD1, 0x00, 0xE3, 0x00};
  EXPECT_EQ(emulator_->ReceivedBytes(), probe);
}

TEST_F(WineWindow, CalibrationWriteReachesTheDeviceByteForByte) {
  ASSERT_EQ(RunWindowClient("CalibrationWrite"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::WorkedCalibrationFrame());
}

TEST_F(WineWindow, GsmReadFillsThePage) {
  ASSERT_EQ(RunWindowClient("GsmRead"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::kGsmReadFrame);
}

TEST_F(WineWindow, GsmWriteReachesTheDeviceByteForByte) {
  ASSERT_EQ(RunWindowClient("GsmWrite"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::WorkedGsmWriteFrame());
  EXPECT_EQ(emulator_->GetGsmRecord(), Record(test::WorkedGsmRecord()));
}

TEST_F(WineWindow, SilentDeviceLeavesTheUserTheRetryMessage) {
  emulator_->SetFault(emu::Fault::Silent);
  ASSERT_EQ(RunWindowClient("SilentDeviceGetsTheRetryMessage"), 0);
  EXPECT_EQ(emulator_->ReceivedBytes(), test::WorkedCalibrationFrame());
}

}  // namespace
}  // namespace tacho
