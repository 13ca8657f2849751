// FileStore over POSIX calls; file names go to the system as UTF-8.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "AppError.h"
#include "FileStore.h"
#include "FileStoreMessages.h"
#include "TextCodec.h"

namespace tacho {
namespace {

// The reasons a user meets most, in Russian; the C library's text for the rest.
std::u16string Reason(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return u"отказано в доступе";
    case ENOENT:
      return u"нет такого файла или папки";
    case ENOTDIR:
      return u"часть пути не является папкой";
    case EISDIR:
      return u"это папка";
    case EROFS:
      return u"файловая система доступна только для чтения";
    case ENOSPC:
      return u"на диске нет места";
    case EDQUOT:
      return u"превышена дисковая квота";
    case EFBIG:
      return u"файл слишком велик";
    case ENAMETOOLONG:
      return u"слишком длинное имя файла";
    case EIO:
      return u"ошибка ввода-вывода";
    case EMFILE:
    case ENFILE:
      return u"открыто слишком много файлов";
    case ELOOP:
      return u"слишком много символических ссылок";
    case EBUSY:
    case ETXTBSY:
      return u"файл занят";
    default:
      return FromUtf8(std::strerror(error));
  }
}

[[noreturn]] void Fail(FileStep step, std::u16string_view name, int error) {
  throw FileError(FileFailureMessage(step, name, Reason(error)));
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and gives close()'s errno, 0 on success.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Writes everything; the errno of the failure, 0 on success.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// A symbolic link is followed, so that the file it points to is replaced and the
// link stays; a dangling link is replaced itself.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename is done; a folder that cannot be synced changes nothing for the user
  ::close(fd);
}

}  // namespace

bool FileExists(std::u16string_view name) {
  struct stat st {};
  return ::stat(ToUtf8(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadWholeFile(std::u16string_view name, std::size_t maxBytes) {
  // Non-blocking, so that opening a pipe without a writer returns at once.
  FileDescriptor file(::open(ToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) Fail(FileStep::Open, name, errno);
  struct stat st {};
  if (::fstat(file.get(), &st) != 0) Fail(FileStep::Open, name, errno);
  if (!S_ISREG(st.st_mode)) {
    throw FileError(FileFailureMessage(FileStep::Open, name, u"это не обычный файл"));
  }
  // One byte past the bound tells a file that is too large.
  const std::size_t wanted = maxBytes + 1;
  std::string bytes;
  bytes.reserve(std::min(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)), wanted));
  char chunk[65536];
  while (bytes.size() < wanted) {
    const std::size_t ask = std::min(sizeof chunk, wanted - bytes.size());
    const ssize_t n = ::read(file.get(), chunk, ask);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(FileStep::Read, name, errno);
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  if (bytes.size() > maxBytes) throw FileError(FileTooLargeMessage(name, maxBytes));
  return bytes;
}

void ReplaceFileAtomically(std::u16string_view name, std::string_view bytes) {
  const std::string target = ResolveTarget(ToUtf8(name));
  const std::string folder = FolderOf(target);

  // A file the user may not write stays as it is, as a plain create would leave it.
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) Fail(FileStep::Create, name, EISDIR);
  if (replacing && ::access(target.c_str(), W_OK) != 0) Fail(FileStep::Create, name, errno);

  std::random_device random;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".settings-%08x.tmp", static_cast<unsigned>(random()));
    temp = folder + suffix;
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) Fail(FileStep::Create, name, errno);
  }
  FileDescriptor file(fd);
  if (replacing) ::fchmod(fd, old.st_mode & 07777);  // keep the old file's permissions if we may

  int error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  const int closeError = file.Close();
  if (error == 0) error = closeError;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    Fail(FileStep::Write, name, error);
  }
  SyncFolder(folder);
}

}  // namespace tacho
