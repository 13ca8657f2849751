// Which path stands behind COM n: links in the port folder first, then the USB
// serial devices in order. Nothing here opens a device.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "LinkFixture.h"
#include "PortMap.h"

namespace tacho {
namespace {

void Link(const std::string& folder, int com, const std::string& target) {
  ASSERT_EQ(::symlink(target.c_str(), (folder + "/COM" + std::to_string(com)).c_str()), 0);
}

TEST(PortMap, LinksTakeTheirNumbersAndUsbDevicesFillTheRestInOrder) {
  test::TempFolder folder;
  Link(folder.path(), 3, "/nonexistent/pinned-a");
  Link(folder.path(), 12, "/nonexistent/pinned-b");
  const PortMap map(folder.path(), {"/x/ttyUSB0", "/x/ttyUSB1", "/x/ttyACM0"});
  const std::pair<int, std::string> cases[] = {
      {0, "/x/ttyUSB0"}, {1, "/x/ttyUSB1"}, {2, folder.path() + "/COM3"}, {3, "/x/ttyACM0"},
      {4, ""},           {11, folder.path() + "/COM12"}, {41, ""}, {-1, ""}, {42, ""},
  };
  for (const auto& [index, path] : cases) EXPECT_EQ(map.DevicePath(index), path) << "index " << index;
}

TEST(PortMap, EmptyFolderAndNoDevicesGiveNothing) {
  test::TempFolder folder;
  const PortMap map(folder.path(), {});
  for (int i = 0; i < 42; ++i) EXPECT_EQ(map.DevicePath(i), "");
  EXPECT_EQ(PortMap(folder.path() + "/missing", {"/x/ttyUSB0"}).DevicePath(0), "/x/ttyUSB0");
}

TEST(PortMap, ADevicePinnedByALinkIsNotHandedOutAgain) {
  test::TempFolder folder;
  test::TempFolder dev;
  for (const char* name : {"ttyUSB0", "ttyUSB1"}) std::ofstream(dev.path() + "/" + name).put('x');
  Link(folder.path(), 5, dev.path() + "/ttyUSB0");
  const PortMap map(folder.path(), {dev.path() + "/ttyUSB0", dev.path() + "/ttyUSB1"});
  EXPECT_EQ(map.DevicePath(0), dev.path() + "/ttyUSB1");
  EXPECT_EQ(map.DevicePath(1), "");
  EXPECT_EQ(map.DevicePath(4), folder.path() + "/COM5");
}

TEST(PortMap, AFolderOthersMayWriteToIsNotUsed) {
  test::TempFolder folder;
  Link(folder.path(), 1, "/nonexistent/planted");
  ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
  EXPECT_EQ(PortMap(folder.path(), {}).DevicePath(0), "");
  ASSERT_EQ(::chmod(folder.path().c_str(), 0700), 0);
  EXPECT_EQ(PortMap(folder.path(), {}).DevicePath(0), folder.path() + "/COM1");
}

TEST(PortMap, ListsUsbThenAcmDevicesInNumericOrderAndNoBuiltInUarts) {
  test::TempFolder dev;
  for (const char* name : {"ttyUSB10", "ttyACM1", "ttyS0", "ttyUSB2", "ttyACM0", "ttyUSB", "ttyUSBx", "tty0", "ttyS4"}) {
    std::ofstream(dev.path() + "/" + name).put('x');
  }
  const std::string d = dev.path() + "/";
  EXPECT_EQ(PortMap::ListUsbSerialDevices(dev.path()),
            (std::vector<std::string>{d + "ttyUSB2", d + "ttyUSB10", d + "ttyACM0", d + "ttyACM1"}));
  EXPECT_TRUE(PortMap::ListUsbSerialDevices(dev.path() + "/missing").empty());
}

TEST(PortMap, DefaultFolderIsUnderTheRuntimeFolderOrTmp) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string keep = saved ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(PortMap::DefaultFolder(), "/run/user/1000/tachocalib/ports");
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(PortMap::DefaultFolder(), "/tmp/tachocalib-" + std::to_string(::getuid()) + "/ports");
  if (saved) ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
  EXPECT_EQ(PortMap::ForCurrentUser().folder(), PortMap::DefaultFolder());
}

}  // namespace
}  // namespace tacho
