// Starts the program a shortcut (.lnk) points to, as a user's click would, waits
// until its main window shows, closes it as the close button does, and waits for
// the program to end. Prints what the shortcut holds and what happened; the
// distribution test stage runs it under wine on the installed shortcut.
// usage: windows_run_shortcut <shortcut.lnk>               start, wait, close
//        windows_run_shortcut <shortcut.lnk> --leave-open  start, wait, leave it running
//        windows_run_shortcut --close                      close the running program
// Exit status: 0 done (after WM_CLOSE the program ended with status 0); 1 usage,
// or the shortcut does not load, or (--close) no such window; 2 the program did
// not start; 3 it ended before showing its window; 4 no window in time; 5 it did
// not end after WM_CLOSE; 6 it ended with a non-zero status.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "WindowDescription.h"

namespace {

// Deadlines for a failure to be reported, generous for a first start under wine.
constexpr DWORD kShowDeadlineMs = 60'000;
constexpr DWORD kEndDeadlineMs = 20'000;
constexpr DWORD kPollMs = 100;

void Print(const char* label, const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::printf("%s: %s\n", label, utf8.c_str());
  std::fflush(stdout);
}

struct Shortcut {
  std::wstring target;
  std::wstring folder;
  std::wstring icon;
};

bool LoadShortcut(const wchar_t* path, Shortcut& shortcut) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool loaded = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Load(path, STGM_READ));
  if (loaded) {
    wchar_t text[MAX_PATH] = {};
    loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)) && text[0] != L'\0';
    shortcut.target = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    shortcut.folder = text;
    text[0] = L'\0';
    int iconIndex = 0;
    link->GetIconLocation(text, MAX_PATH, &iconIndex);
    shortcut.icon = std::wstring(text) + L"," + std::to_wstring(iconIndex);
  }
  if (file != nullptr) file->Release();
  link->Release();
  return loaded;
}

struct Search {
  DWORD processId;  // 0: any process
  std::wstring className;
  std::wstring caption;
  HWND found = nullptr;
};

// A visible top-level window with the main window's class and caption.
BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((search.processId != 0 && owner != search.processId) || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetClassNameW(window, text, 256);
  if (search.className != text) return TRUE;
  text[0] = L'\0';
  GetWindowTextW(window, text, 256);
  if (search.caption != text) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindMainWindow(DWORD processId) {
  const auto& window = tacho::kMainWindow;
  Search search{processId, {window.className.begin(), window.className.end()},
                {window.caption.begin(), window.caption.end()}};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Closes the window as its close button does and waits for its program to end.
int CloseAndWait(HWND window, HANDLE process) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, kEndDeadlineMs) != WAIT_OBJECT_0) {
    std::printf("the program still runs %lu s after WM_CLOSE\n", kEndDeadlineMs / 1000);
    TerminateProcess(process, 1);
    return 5;
  }
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  std::printf("ended after WM_CLOSE with status %lu\n", status);
  return status == 0 ? 0 : 6;
}

int Run(const wchar_t* shortcutPath, bool leaveOpen) {
  Shortcut shortcut;
  if (!LoadShortcut(shortcutPath, shortcut)) {
    Print("the shortcut does not load", shortcutPath);
    return 1;
  }
  Print("target", shortcut.target);
  Print("folder", shortcut.folder);
  Print("icon", shortcut.icon);

  std::wstring commandLine = L"\"" + shortcut.target + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(shortcut.target.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      shortcut.folder.empty() ? nullptr : shortcut.folder.c_str(), &startup, &process)) {
    std::printf("the program did not start (error %lu)\n", GetLastError());
    return 2;
  }
  CloseHandle(process.hThread);

  int result = 0;
  HWND window = nullptr;
  for (DWORD waited = 0; (window = FindMainWindow(process.dwProcessId)) == nullptr; waited += kPollMs) {
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      DWORD status = 0;
      GetExitCodeProcess(process.hProcess, &status);
      std::printf("the program ended (status %lu) without showing its window\n", status);
      result = 3;
      break;
    }
    if (waited >= kShowDeadlineMs) {
      std::printf("no window of class TForm1 with the program's caption within %lu s\n", kShowDeadlineMs / 1000);
      TerminateProcess(process.hProcess, 1);
      result = 4;
      break;
    }
  }
  if (result == 0) {
    std::printf("window shown\n");
    if (!leaveOpen) result = CloseAndWait(window, process.hProcess);
  }
  CloseHandle(process.hProcess);
  return result;
}

int CloseRunning() {
  HWND window = FindMainWindow(0);
  if (window == nullptr) {
    std::printf("no window of the program\n");
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
  if (process == nullptr) {
    std::printf("the program's process does not open (error %lu)\n", GetLastError());
    return 1;
  }
  const int result = CloseAndWait(window, process);
  CloseHandle(process);
  return result;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring_view option = args != nullptr && count == 3 ? args[2] : L"";
  const bool close = args != nullptr && count == 2 && std::wstring_view(args[1]) == L"--close";
  if (args == nullptr || count < 2 || count > 3 || (count == 3 && option != L"--leave-open")) {
    std::printf("usage: windows_run_shortcut <shortcut.lnk> [--leave-open] | --close\n");
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = close ? CloseRunning() : Run(args[1], option == L"--leave-open");
  CoUninitialize();
  LocalFree(args);
  return result;
}
