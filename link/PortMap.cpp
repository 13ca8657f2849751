#include "PortMap.h"

#include <utility>

#ifdef _WIN32

// Windows opens its ports by name; there is nothing to map.
namespace tacho {
PortMap::PortMap(std::string folder, std::vector<std::string> usbDevices)
    : folder_(std::move(folder)), usbDevices_(std::move(usbDevices)) {}
PortMap PortMap::ForCurrentUser() { return PortMap({}, {}); }
std::string PortMap::DefaultFolder() { return {}; }
std::vector<std::string> PortMap::ListUsbSerialDevices(const std::string&) { return {}; }
std::string PortMap::DevicePath(int) const { return {}; }
}  // namespace tacho

#else

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>

namespace tacho {
namespace {

constexpr int kComCount = 42;

std::string LinkName(const std::string& folder, int com) { return folder + "/COM" + std::to_string(com); }

bool Present(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

// Links in a folder that others may write to could point anywhere: such a
// folder is not used.
bool Trusted(const std::string& folder) {
  struct stat st{};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid != ::getuid() && st.st_uid != 0) return false;
  return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string RealPath(const std::string& path) {
  char buf[PATH_MAX];
  return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

// "ttyUSB12" with prefix "ttyUSB" gives 12; -1 when the rest is not all digits.
long Number(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  long n = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > 1000000) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

}  // namespace

PortMap::PortMap(std::string folder, std::vector<std::string> usbDevices)
    : folder_(std::move(folder)), usbDevices_(std::move(usbDevices)) {}

PortMap PortMap::ForCurrentUser() {
  PortMap map(DefaultFolder(), {});
  map.devDir_ = "/dev";
  return map;
}

std::string PortMap::DefaultFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/') return std::string(runtime) + "/tachocalib/ports";
  return "/tmp/tachocalib-" + std::to_string(::getuid()) + "/ports";
}

std::vector<std::string> PortMap::ListUsbSerialDevices(const std::string& devDir) {
  std::vector<std::pair<std::pair<int, long>, std::string>> found;
  if (DIR* dir = ::opendir(devDir.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (const long n = Number(name, "ttyUSB"); n >= 0) found.push_back({{0, n}, name});
      if (const long n = Number(name, "ttyACM"); n >= 0) found.push_back({{1, n}, name});
    }
    ::closedir(dir);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (const auto& f : found) paths.push_back(devDir + "/" + f.second);
  return paths;
}

std::string PortMap::DevicePath(int index) const {
  if (index < 0 || index >= kComCount) return {};
  const int com = index + 1;
  const bool trusted = Trusted(folder_);
  if (trusted && Present(LinkName(folder_, com))) return LinkName(folder_, com);

  // The devices pinned by a link are not handed out a second time.
  std::set<std::string> pinned;
  std::vector<bool> linked(kComCount + 1, false);
  if (trusted) {
    for (int k = 1; k <= kComCount; ++k) {
      if (!Present(LinkName(folder_, k))) continue;
      linked[static_cast<std::size_t>(k)] = true;
      if (std::string real = RealPath(LinkName(folder_, k)); !real.empty()) pinned.insert(real);
    }
  }
  std::vector<std::string> devices = devDir_.empty() ? usbDevices_ : ListUsbSerialDevices(devDir_);
  std::erase_if(devices, [&](const std::string& d) {
    const std::string real = RealPath(d);
    return pinned.count(real.empty() ? d : real) != 0;
  });

  std::size_t position = 0;  // among the COM numbers that no link takes
  for (int k = 1; k < com; ++k) {
    if (!linked[static_cast<std::size_t>(k)]) ++position;
  }
  return position < devices.size() ? devices[position] : std::string();
}

}  // namespace tacho

#endif
