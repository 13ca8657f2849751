// Measures how long one read of M bytes takes on a silent line through the
// Win32 serial code (15 ms time-outs: at most 15 + 15·M ms). Prints the figures;
// the test stage runs it under wine against a device that never answers.
// usage: windows_read_timeouts [COM number, default 40] [rounds, default 5]
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SerialPort.h"

namespace {

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticksPerMs;
}

}  // namespace

int main(int argc, char** argv) {
  const int com = argc > 1 ? std::atoi(argv[1]) : 40;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  tacho::SerialPort port(tacho::PortMap("", {}));
  if (!port.SetupPort(com - 1)) {
    std::printf("COM%d does not open\n", com);
    return 1;
  }

  std::printf("read on a silent line, COM%d, %d rounds\n", com, rounds);
  std::printf("%6s %10s %10s %10s %10s %6s\n", "M", "rule ms", "min ms", "median ms", "max ms", "bytes");
  bool quiet = true;
  for (std::size_t m : {1u, 7u, 9u, 120u}) {
    std::vector<std::uint8_t> buffer(m);
    std::vector<double> times;
    std::size_t got = 0;
    for (int r = 0; r < rounds; ++r) {
      const double start = NowMs();
      got += port.Read(buffer.data(), m);
      times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%6zu %10zu %10.1f %10.1f %10.1f %6zu\n", m, 15 + 15 * m, times.front(), times[times.size() / 2],
                times.back(), got);
    quiet = quiet && got == 0;
  }
  port.Close();
  // Bytes on a line that should be silent mean the figures measure something else.
  return quiet ? 0 : 1;
}
