// The port map on Linux: COMn links read through a descriptor of a checked
// folder, and USB serial adapters fixed to their COM numbers by identity.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include "PortMap.h"

namespace tacho {
namespace {

constexpr int kComCount = 42;

std::string LinkName(int com) { return "COM" + std::to_string(com); }

// Closes a descriptor at the end of its scope.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool OwnedByUserOrRoot(const struct stat& st) { return st.st_uid == ::getuid() || st.st_uid == 0; }

// Opens `folder` for the COMn links only when neither it nor its parent can be
// changed by another user: both are real directories (no link followed at the
// last step), owned by the user or root; the folder is writable by no one
// else, the parent only if sticky (as /tmp is), so no one can swap the folder.
// Everything after this works on the descriptor, never on the name again.
int OpenTrustedFolder(const std::string& folder) {
  const std::size_t slash = folder.find_last_of('/');
  if (folder.empty() || folder[0] != '/' || slash == std::string::npos || slash + 1 >= folder.size()) return -1;
  const std::string parent = slash == 0 ? "/" : folder.substr(0, slash);
  const std::string leaf = folder.substr(slash + 1);
  const Fd up(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st{};
  if (up.get() < 0 || ::fstat(up.get(), &st) != 0 || !S_ISDIR(st.st_mode) || !OwnedByUserOrRoot(st)) return -1;
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) return -1;
  const int fd = ::openat(up.get(), leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || !OwnedByUserOrRoot(st) ||
      (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The target of the link COMn in the folder, read once; nullopt when there is
// no entry. An entry that is no link stands for itself.
std::optional<std::string> LinkTarget(int folderFd, int com) {
  const std::string name = LinkName(com);
  struct stat st{};
  if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  if (!S_ISLNK(st.st_mode)) return name;
  char buf[4096];
  const ssize_t n = ::readlinkat(folderFd, name.c_str(), buf, sizeof buf);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return std::string();
  return std::string(buf, static_cast<std::size_t>(n));
}

// The device number of a character device at `path` (links followed).
std::optional<std::uint64_t> DeviceNumber(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_rdev);
}

std::optional<std::uint64_t> DeviceNumberAt(int dirFd, const std::string& path) {
  struct stat st{};
  if (::fstatat(dirFd, path.c_str(), &st, 0) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_rdev);
}

// devDir/serial/by-id/: device number -> the first name (in name order) that points at it.
std::map<std::uint64_t, std::string> ByIdNames(const std::string& devDir) {
  std::vector<std::string> names;
  const std::string dir = devDir + "/serial/by-id";
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  std::map<std::uint64_t, std::string> byDevice;
  for (const std::string& name : names) {
    if (auto device = DeviceNumber(dir + "/" + name)) byDevice.emplace(*device, name);
  }
  return byDevice;
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

PortMap::PortMap(std::string folder, std::string devDir) : folder_(std::move(folder)), devDir_(std::move(devDir)) {}

PortMap PortMap::ForCurrentUser() {
  PortMap map(DefaultFolder(), "/dev");
  map.Refresh();
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

void PortMap::Refresh() {
  if (devDir_.empty()) return;
  // The links of the moment: their numbers are not handed out, and the
  // devices they point at get no number of their own.
  std::array<bool, kComCount> linked{};
  std::vector<std::uint64_t> pinned;
  const Fd folder(OpenTrustedFolder(folder_));
  if (folder.get() >= 0) {
    for (int com = 1; com <= kComCount; ++com) {
      const auto target = LinkTarget(folder.get(), com);
      if (!target) continue;
      linked[static_cast<std::size_t>(com - 1)] = true;
      if (auto device = DeviceNumberAt(folder.get(), *target)) pinned.push_back(*device);
    }
  }
  const auto byId = ByIdNames(devDir_);
  for (const std::string& path : ListUsbSerialDevices(devDir_)) {
    const auto device = DeviceNumber(path);
    if (!device || std::find(pinned.begin(), pinned.end(), *device) != pinned.end()) continue;
    Adapter adapter;
    adapter.device = *device;
    adapter.path = path;
    adapter.identity = "dev:" + std::to_string(*device);
    if (const auto name = byId.find(*device); name != byId.end()) {
      adapter.byId = true;
      adapter.path = devDir_ + "/serial/by-id/" + name->second;
      adapter.identity = "by-id:" + name->second;
    }
    const auto same = std::find_if(adapters_.begin(), adapters_.end(),
                                   [&](const auto& a) { return a && a->identity == adapter.identity; });
    if (same != adapters_.end()) {
      **same = adapter;  // the same adapter, perhaps under a new node name
      continue;
    }
    for (std::size_t i = 0; i < adapters_.size(); ++i) {
      if (!linked[i] && !adapters_[i]) {
        adapters_[i] = adapter;
        break;
      }
    }
  }
}

int PortMap::Open(int index, int flags) const {
  if (index < 0 || index >= kComCount) return -1;
  const Fd folder(OpenTrustedFolder(folder_));
  if (folder.get() >= 0) {
    if (const auto target = LinkTarget(folder.get(), index + 1)) {
      // Opened as read, relative to the folder's descriptor: the name is not looked up again.
      return target->empty() ? -1 : ::openat(folder.get(), target->c_str(), flags);
    }
  }
  const auto& adapter = adapters_[static_cast<std::size_t>(index)];
  if (!adapter) return -1;
  const int fd = ::open(adapter->path.c_str(), flags);
  if (fd < 0) return -1;
  struct stat st{};
  const bool isChar = ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode);
  // Without a by-id name the device number is the identity: another device
  // under the same node name is not this port.
  if (!isChar || (!adapter->byId && static_cast<std::uint64_t>(st.st_rdev) != adapter->device)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string PortMap::DevicePath(int index) const {
  if (index < 0 || index >= kComCount) return {};
  const Fd folder(OpenTrustedFolder(folder_));
  if (folder.get() >= 0 && LinkTarget(folder.get(), index + 1)) return folder_ + "/" + LinkName(index + 1);
  const auto& adapter = adapters_[static_cast<std::size_t>(index)];
  return adapter ? adapter->path : std::string();
}

}  // namespace tacho
