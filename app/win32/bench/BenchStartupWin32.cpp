// Start-up figures of the Win32 tool, measured inside the process: the time from
// the process's creation to the window shown and painted, the peak working set,
// and the size of the program file given as the first argument.
#include "Unit1.h"  // windows.h, before psapi.h

#include <psapi.h>

#include <cstdio>
#include <filesystem>

#include "StartUp.h"

namespace {

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;  // 100 ns units
}

}  // namespace

double SinceMs(const FILETIME& from) {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return static_cast<double>(Ticks(now) - Ticks(from)) / 1e4;
}

int main(int argc, char** argv) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  // What the system spends before the program's own code runs.
  const double mainMs = SinceMs(created);
  double shownMs = -1;
  tacho::RunTool([&](tacho::TForm1& form) {
    // Every control painted, then the time taken.
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    shownMs = SinceMs(created);
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  });
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));

  std::printf("start to window shown and painted: %.1f ms (goal: under 150 ms); of that, start to main: %.1f ms\n",
              shownMs, mainMs);
  std::printf("peak working set: %.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
  if (argc > 1) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(argv[1], ec);
    if (ec) {
      std::printf("program file size: %s not found\n", argv[1]);
    } else {
      std::printf("program file size: %.2f MB, %ju bytes (goal: one file under 3 MB)\n",
                  static_cast<double>(size) / (1024.0 * 1024.0), static_cast<std::uintmax_t>(size));
    }
  }
  return shownMs >= 0 ? 0 : 1;
}
