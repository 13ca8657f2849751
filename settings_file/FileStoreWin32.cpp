// FileStore over Win32 calls, by wide file name.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "AppError.h"
#include "FileStore.h"
#include "FileStoreMessages.h"

namespace tacho {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The system's own text for the error, in the user's language.
std::u16string Reason(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, buffer + length);
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  if (text.empty()) {
    char code[32];
    std::snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(error));
    text = u"код ошибки ";
    for (const char* c = code; *c != '\0'; ++c) text.push_back(static_cast<char16_t>(*c));
  }
  return text;
}

[[noreturn]] void Fail(FileStep step, std::u16string_view name, DWORD error) {
  throw FileError(FileFailureMessage(step, name, Reason(error)));
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  // Closes now and gives the error, 0 on success.
  DWORD Close() {
    const BOOL ok = ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok ? 0 : ::GetLastError();
  }

 private:
  HANDLE h_;
};

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t end = path.find_last_of(L"\\/:");
  return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

}  // namespace

bool FileExists(std::u16string_view name) {
  const DWORD attributes = ::GetFileAttributesW(Wide(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadWholeFile(std::u16string_view name, std::size_t maxBytes) {
  Handle file(::CreateFileW(Wide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) Fail(FileStep::Open, name, ::GetLastError());
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    throw FileError(FileFailureMessage(FileStep::Open, name, u"это не обычный файл"));
  }
  // One byte past the bound tells a file that is too large.
  const std::size_t wanted = maxBytes + 1;
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < wanted) {
    const DWORD ask = static_cast<DWORD>(std::min(sizeof chunk, wanted - bytes.size()));
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, ask, &got, nullptr)) Fail(FileStep::Read, name, ::GetLastError());
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  if (bytes.size() > maxBytes) throw FileError(FileTooLargeMessage(name, maxBytes));
  return bytes;
}

void ReplaceFileAtomically(std::u16string_view name, std::string_view bytes) {
  const std::wstring target = Wide(name);
  const std::wstring folder = FolderOf(target);

  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    Fail(FileStep::Create, name, ERROR_ACCESS_DENIED);
  }

  std::wstring temp;
  HANDLE created = INVALID_HANDLE_VALUE;
  const unsigned seed = static_cast<unsigned>(::GetTickCount64()) ^ (::GetCurrentProcessId() << 16);
  for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
    wchar_t suffix[32];
    std::swprintf(suffix, 32, L".settings-%08x.tmp", seed + attempt * 2654435761u);
    temp = folder + suffix;
    created = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
        Fail(FileStep::Create, name, error);
      }
    }
  }
  Handle file(created);

  DWORD error = 0;
  while (error == 0 && !bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
      error = ::GetLastError();
    } else if (written == 0) {
      error = ERROR_WRITE_FAULT;
    } else {
      bytes.remove_prefix(written);
    }
  }
  if (error == 0 && !::FlushFileBuffers(file.get())) error = ::GetLastError();
  const DWORD closeError = file.Close();
  if (error == 0) error = closeError;
  if (error == 0 &&
      !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
  }
  if (error != 0) {
    ::DeleteFileW(temp.c_str());
    Fail(FileStep::Write, name, error);
  }
}

}  // namespace tacho
