// Which device stands behind COM n: links in the port folder, read at each open,
// and USB serial adapters fixed to their numbers when the port list is made. The
// device trees are fakes: their ttyUSB/ttyACM nodes are links to harmless
// character devices (/dev/null, /dev/zero, ...) or to emulators' terminals.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <fstream>

#include "AppContext.h"
#include "CommandExchange.h"
#include "DeviceSearch.h"
#include "Exchange.h"
#include "Frames.h"
#include "GsmCommands.h"
#include "LinkFixture.h"
#include "PortChoice.h"
#include "PortMap.h"

namespace tacho {
namespace {

using test::TempFolder;

void Link(const std::string& target, const std::string& at) {
  ::unlink(at.c_str());
  ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at;
}

// A fake /dev: nodes are links to character devices; serial/by-id names link to nodes.
class FakeDevTree {
 public:
  FakeDevTree() { ::mkdir((dev_.path() + "/serial").c_str(), 0700), ::mkdir(ById().c_str(), 0700); }
  ~FakeDevTree() {
    if (DIR* d = ::opendir(ById().c_str())) {
      while (const dirent* e = ::readdir(d)) ::unlink((ById() + "/" + e->d_name).c_str());
      ::closedir(d);
    }
    ::rmdir(ById().c_str());
    ::rmdir((dev_.path() + "/serial").c_str());
  }
  void Plug(const std::string& node, const std::string& device, const std::string& byId = "") {
    Link(device, Node(node));
    if (!byId.empty()) Link("../../" + node, ById() + "/" + byId);
  }
  void Unplug(const std::string& node, const std::string& byId = "") {
    ::unlink(Node(node).c_str());
    if (!byId.empty()) ::unlink((ById() + "/" + byId).c_str());
  }
  std::string Node(const std::string& node) const { return dev_.path() + "/" + node; }
  std::string ById() const { return dev_.path() + "/serial/by-id"; }
  const std::string& path() const { return dev_.path(); }

 private:
  TempFolder dev_;
};

struct Expected {
  int index;
  std::string path;
};

void ExpectPaths(const PortMap& map, const std::vector<Expected>& rows) {
  for (const Expected& e : rows) EXPECT_EQ(map.DevicePath(e.index), e.path) << "index " << e.index;
}

TEST(PortMap, LinksTakeTheirNumbersAndAdaptersFillTheRestInOrder) {
  TempFolder folder;
  FakeDevTree dev;
  dev.Plug("ttyUSB0", "/dev/null");
  dev.Plug("ttyUSB1", "/dev/zero");
  dev.Plug("ttyACM0", "/dev/full");
  Link("/nonexistent/pinned-a", folder.path() + "/COM3");
  Link("/nonexistent/pinned-b", folder.path() + "/COM12");
  PortMap map(folder.path(), dev.path());
  ExpectPaths(map, {{0, ""}, {2, folder.path() + "/COM3"}});  // no adapter before the first look
  map.Refresh();
  ExpectPaths(map, {{0, dev.Node("ttyUSB0")},
                    {1, dev.Node("ttyUSB1")},
                    {2, folder.path() + "/COM3"},
                    {3, dev.Node("ttyACM0")},
                    {4, ""},
                    {11, folder.path() + "/COM12"},
                    {41, ""},
                    {-1, ""},
                    {42, ""}});
}

TEST(PortMap, AnAdapterKeepsItsNumberWhenAnotherIsPluggedOrUnplugged) {
  struct Case {
    const char* name;
    bool byId;
  };
  for (const Case c : {Case{"by device number", false}, Case{"by serial/by-id name", true}}) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    FakeDevTree dev;
    dev.Plug("ttyUSB0", "/dev/null", c.byId ? "usb-A" : "");
    dev.Plug("ttyUSB1", "/dev/zero", c.byId ? "usb-B" : "");
    PortMap map(folder.path(), dev.path());
    map.Refresh();
    const std::string b = c.byId ? dev.ById() + "/usb-B" : dev.Node("ttyUSB1");
    ExpectPaths(map, {{1, b}});

    // A unplugged: B stays COM2 and COM1 stays A's, so it opens nothing.
    dev.Unplug("ttyUSB0", c.byId ? "usb-A" : "");
    map.Refresh();
    ExpectPaths(map, {{1, b}});
    EXPECT_LT(map.Open(0, O_RDONLY), 0);
    // C plugged in under A's old node name: never COM1; the next search gives it COM3.
    dev.Plug("ttyUSB0", "/dev/full", c.byId ? "usb-C" : "");
    EXPECT_LT(map.Open(0, O_RDONLY), 0) << "another device under A's node name";
    map.Refresh();
    EXPECT_LT(map.Open(0, O_RDONLY), 0);
    ExpectPaths(map, {{1, b}, {2, c.byId ? dev.ById() + "/usb-C" : dev.Node("ttyUSB0")}});
    const int fd = map.Open(2, O_RDONLY);
    EXPECT_GE(fd, 0);
    if (fd >= 0) ::close(fd);
  }
}

TEST(PortMap, AnAdapterBackUnderANewNodeNameKeepsItsNumberByItsByIdName) {
  TempFolder folder;
  FakeDevTree dev;
  dev.Plug("ttyUSB0", "/dev/null", "usb-A");
  dev.Plug("ttyUSB1", "/dev/zero", "usb-B");
  PortMap map(folder.path(), dev.path());
  map.Refresh();
  dev.Unplug("ttyUSB0", "usb-A");
  dev.Plug("ttyUSB2", "/dev/full", "usb-A");  // replugged: the kernel gave it another node
  map.Refresh();
  ExpectPaths(map, {{0, dev.ById() + "/usb-A"}, {1, dev.ById() + "/usb-B"}, {2, ""}});
  const int fd = map.Open(0, O_RDONLY);
  EXPECT_GE(fd, 0);
  if (fd >= 0) ::close(fd);
}

TEST(PortMap, AnAdapterALinkPointsAtGetsNoNumberOfItsOwn) {
  TempFolder folder;
  FakeDevTree dev;
  dev.Plug("ttyUSB0", "/dev/null");
  dev.Plug("ttyUSB1", "/dev/zero");
  Link(dev.Node("ttyUSB0"), folder.path() + "/COM5");
  PortMap map(folder.path(), dev.path());
  map.Refresh();
  ExpectPaths(map, {{0, dev.Node("ttyUSB1")}, {1, ""}, {4, folder.path() + "/COM5"}});
}

TEST(PortMap, EmptyFolderAndNoDevicesGiveNothing) {
  TempFolder folder;
  PortMap map(folder.path(), "");
  map.Refresh();
  for (int i = 0; i < 42; ++i) EXPECT_EQ(map.DevicePath(i), "");
  PortMap missing(folder.path() + "/missing", folder.path() + "/missing-dev");
  missing.Refresh();
  EXPECT_EQ(missing.DevicePath(0), "");
}

// The folder's links could point anywhere: the folder is used only when no
// other user can change it or swap it for another.
TEST(PortMap, AFolderAnotherUserCouldChangeIsNotUsed) {
  struct Case {
    const char* name;
    mode_t folderMode;
    mode_t parentMode;
    bool folderIsALink;
    bool used;
  };
  const Case cases[] = {
      {"private folder", 0700, 0700, false, true},
      {"folder writable by others", 0777, 0700, false, false},
      {"folder writable by the group", 0770, 0700, false, false},
      {"parent writable by others", 0700, 0777, false, false},
      {"parent writable by others but sticky", 0700, 01777, false, true},
      {"folder is a link to a private folder", 0700, 0700, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder parent;
    const std::string real = parent.path() + "/real";
    const std::string folder = parent.path() + "/ports";
    ASSERT_EQ(::mkdir(real.c_str(), 0700), 0);
    Link("/dev/null", real + "/COM1");
    if (c.folderIsALink) {
      Link(real, folder);
    } else {
      ASSERT_EQ(::rename(real.c_str(), folder.c_str()), 0);
      ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
    }
    ASSERT_EQ(::chmod(parent.path().c_str(), c.parentMode), 0);
    const PortMap map(folder, "");
    EXPECT_EQ(map.DevicePath(0), c.used ? folder + "/COM1" : "");
    const int fd = map.Open(0, O_RDONLY);
    EXPECT_EQ(fd >= 0, c.used);
    if (fd >= 0) ::close(fd);
    ::chmod(parent.path().c_str(), 0700);
    const std::string inside = c.folderIsALink ? real : folder;
    ::unlink((inside + "/COM1").c_str());
    ::rmdir(inside.c_str());
    ::unlink(folder.c_str());
  }
}

TEST(PortMap, ARelativeLinkIsReadAgainstTheFolder) {
  TempFolder folder;
  std::ofstream(folder.path() + "/device").put('x');
  Link("device", folder.path() + "/COM2");
  const PortMap map(folder.path(), "");
  const int fd = map.Open(1, O_RDONLY);
  ASSERT_GE(fd, 0);
  char c = 0;
  EXPECT_EQ(::read(fd, &c, 1), 1);
  EXPECT_EQ(c, 'x');
  ::close(fd);
}

// Through the real serial code: the search fixes COM1 to the adapter it found;
// once that adapter is gone, COM1 opens nothing, whatever else is plugged in.
TEST(PortChoice, AnAdapterUnpluggedAfterTheSearchGivesAnOpenErrorNeverFramesToAnother) {
  TempFolder folder;
  FakeDevTree dev;
  emu::EmulatorOptions options;
  options.createLink = false;
  emu::DeviceEmulator a(options), b(options), c(options);
  dev.Plug("ttyUSB0", a.DevicePath());
  dev.Plug("ttyUSB1", b.DevicePath());
  FormModel form;
  Session session;
  SerialPort port{PortMap(folder.path(), dev.path())};
  AppContext app{form, session, port};
  Search_ButtonClick(app);
  ASSERT_EQ(form.BoxTexts(), std::vector<std::u16string>{u"Устройство обнаружено"});
  ASSERT_EQ(session.PortIndex, 0);
  a.ClearReceived();

  const auto gsmRead = [&] {
    form.boxes.clear();
    Read_GSM_ButtonClick(app);
  };
  struct Step {
    const char* name;
    std::function<void()> change;
  };
  const Step steps[] = {
      {"A unplugged", [&] { dev.Unplug("ttyUSB0"); }},
      {"C plugged in as ttyUSB0", [&] { dev.Plug("ttyUSB0", c.DevicePath()); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.change();
    gsmRead();
    EXPECT_EQ(form.BoxTexts(), (std::vector<std::u16string>{u"Ошибка открытия порта", std::u16string(kRetryMessage)}));
  }
  EXPECT_TRUE(a.ReceivedBytes().empty());
  EXPECT_TRUE(b.ReceivedBytes().empty());
  EXPECT_TRUE(c.ReceivedBytes().empty());
}

TEST(PortMap, ListsUsbThenAcmDevicesInNumericOrderAndNoBuiltInUarts) {
  TempFolder dev;
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
