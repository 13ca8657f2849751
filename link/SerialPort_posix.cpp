// The serial port on POSIX: the device from the port map, termios for the line
// settings, and poll() with explicit deadlines for the 15 ms time-outs. A write
// returns once its bytes have left, as a synchronous Win32 write does.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

#include "PortSettings.h"
#include "SerialPort.h"
#include "TermiosSettings.h"

namespace tacho {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, rounded up so that poll never wakes early.
int MsUntil(Clock::time_point deadline) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// One byte on the wire at 9600 baud, 8E1: a start bit, 8 data bits, parity, a stop bit.
constexpr std::chrono::nanoseconds kByteWireTime{11'000'000'000LL / 9600};

// Waits until the driver's output queue is empty and the last of `n` bytes
// handed over at `handedOver` can have crossed the wire, or until `deadline`. A driver
// that cannot tell its queue (a pseudo-terminal reports none) still waits the
// wire time, so the reply wait never starts while the frame is going out.
void WaitForOutputToLeave(int fd, std::size_t n, Clock::time_point handedOver, Clock::time_point deadline) {
  const Clock::time_point onWire =
      handedOver + std::chrono::duration_cast<Clock::duration>(kByteWireTime * static_cast<long long>(n));
  for (;;) {
    int pending = 0;
    const bool queueKnown = ::ioctl(fd, TIOCOUTQ, &pending) == 0;
    const auto now = Clock::now();
    if ((!queueKnown || pending <= 0) && now >= onWire) return;
    if (now >= deadline) return;
    // No event tells when the queue empties: look again shortly.
    const bool waiting = queueKnown && pending > 0;
    const auto wakeAt = waiting ? now + std::chrono::milliseconds(2) : onWire;
    ::poll(nullptr, 0, std::max(1, MsUntil(std::min(wakeAt, deadline))));
  }
}

}  // namespace

const SerialPort::NativeHandle SerialPort::kInvalidHandle = -1;

SerialPort::SerialPort(PortMap map) : map_(std::move(map)) {}

SerialPort::~SerialPort() { Close(); }

void SerialPort::OpenPort(int index) {
  if (index < 0 || index >= kPortCount) return;
  if (beforeOpen) beforeOpen(index);
  Close();
  // Non-blocking, so that the open never waits for a carrier.
  const int fd = map_.Open(index, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  // Exclusive use: a lock that every program honouring flock sees, and the
  // terminal's own exclusive mode for the others.
  if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return;
  }
  ::ioctl(fd, TIOCEXCL);
  PortHandle = fd;
}

void SerialPort::RefreshPortMap() { map_.Refresh(); }

void SerialPort::ConfigureOpenPort() {
  // A refused setting is not an error: the line is used as it then is. A
  // pseudo-terminal refuses parity; the rest of the settings still go on.
  termios reported{};
  if (::tcgetattr(PortHandle, &reported) == 0) {
    const termios wanted = DeviceTermios(reported);
    if (::tcsetattr(PortHandle, TCSANOW, &wanted) != 0) {
      const termios plain = WithoutParity(wanted);
      ::tcsetattr(PortHandle, TCSANOW, &plain);
    }
  }
  // Nothing has been written on this open yet; discard what waits either way.
  ::tcflush(PortHandle, TCIOFLUSH);
}

std::size_t SerialPort::Write(const std::uint8_t* data, std::size_t n) {
  if (!IsOpen() || n == 0) return 0;
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::milliseconds(WriteTotalTimeoutMs(n));
  std::size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(PortHandle, data + done, n - done);
    if (w > 0) {
      done += static_cast<std::size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
    const int wait = MsUntil(deadline);
    if (wait == 0) break;
    pollfd p{PortHandle, POLLOUT, 0};
    if (::poll(&p, 1, wait) <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL))) break;
  }
  if (done > 0) WaitForOutputToLeave(PortHandle, done, start, deadline);
  return done;
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t m) {
  if (!IsOpen() || m == 0) return 0;
  const auto begin = Clock::now();
  const auto total = begin + std::chrono::milliseconds(ReadTotalTimeoutMs(m));
  const auto gap = std::chrono::milliseconds(kCommTimeouts.ReadIntervalTimeout);
  std::size_t got = 0;
  Clock::time_point lastByte{};
  while (got < m) {
    auto deadline = total;
    if (got > 0) deadline = std::min(deadline, lastByte + gap);
    const int wait = MsUntil(deadline);
    pollfd p{PortHandle, POLLIN, 0};
    const int ready = ::poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;  // a time-out ended the read
    if (!(p.revents & POLLIN)) break;  // hung up or failed, nothing to read
    const ssize_t r = ::read(PortHandle, buffer + got, m - got);
    if (r < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (r <= 0) break;  // end of file: the other side hung up
    got += static_cast<std::size_t>(r);
    lastByte = Clock::now();
  }
  return got;
}

void SerialPort::Close() {
  if (!IsOpen()) return;
  // Output the device never took is dropped, so the close cannot wait on it
  // and a device that comes back later never receives a stale frame.
  ::tcflush(PortHandle, TCOFLUSH);
  // The terminal's exclusive mode outlives this descriptor when another one
  // stays open (the emulator holds one): clear it before letting go.
  ::ioctl(PortHandle, TIOCNXCL);
  ::close(PortHandle);
  PortHandle = kInvalidHandle;
}

}  // namespace tacho
