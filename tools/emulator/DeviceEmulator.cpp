#include "DeviceEmulator.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "DeviceProtocol.h"
#include "FrameText.h"

namespace tacho::emu {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

using namespace protocol;

// A frame whose bytes stop coming for this long is dropped.
constexpr auto kIncompleteFrameGap = std::chrono::milliseconds(100);
// Line noise put before a reply by the JunkFirst fault.
constexpr std::uint8_t kJunk[] = {0xFF, 0x00, 0x7E};

Bytes Framed(std::uint8_t command, const Bytes& payload) {
  // Reserved up front: GCC 12 at -O2 warns (array-bounds) on an insert that
  // grows a vector made from a braced list.
  Bytes out;
  out.reserve(5 + payload.size() + 1);
  out.assign({kStart, kMarker, static_cast<std::uint8_t>(payload.size()), command, 0x00});
  out.insert(out.end(), payload.begin(), payload.end());
  out.push_back(Sum(out.data(), out.size()));
  return out;
}

// Length of the frame that starts with this header, from its command byte.
std::size_t FrameLength(const std::uint8_t* header) {
  switch (header[3]) {
    case kCmdWrite: return kWriteFrame;
    case kCmdGsmWrite: return kGsmWriteFrame;
    case kCmdGsmRead:
    case kCmdProbe: return kShortFrame;
    default: return kHeader + header[2] + 1;
  }
}

std::uint8_t Judge(const Bytes& f) {
  switch (f[3]) {
    case kCmdWrite:
      if (f[2] != kWriteLengthByte) return kStatusBadLength;
      if (Sum(f.data(), kWriteChecksumAt) != f[kWriteChecksumAt]) return kStatusBadChecksum;
      for (std::size_t i = kWriteFillerFrom; i < kWriteTailFrom; ++i) {
        if (f[i] != 0) return kStatusBadLayout;
      }
      return kStatusOk;
    case kCmdGsmWrite:
      if (f[2] != kGsmRecordSize) return kStatusBadLength;
      break;
    case kCmdGsmRead:
    case kCmdProbe:
      if (f[2] != 0) return kStatusBadLength;
      break;
    default:
      return kStatusUnknownCommand;
  }
  return Sum(f.data(), f.size() - 1) == f.back() ? kStatusOk : kStatusBadChecksum;
}

struct Pty {
  int master = -1;
  int slave = -1;  // held open so the line keeps its settings and never reads as hung up
  std::string path;

  void Close() {
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
    slave = master = -1;
  }
};

Pty OpenPty() {
  Pty p;
  p.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (p.master < 0) throw std::runtime_error("posix_openpt failed");
  if (::grantpt(p.master) != 0 || ::unlockpt(p.master) != 0) {
    p.Close();
    throw std::runtime_error("grantpt/unlockpt failed");
  }
  char name[128];
  if (::ptsname_r(p.master, name, sizeof name) != 0) {
    p.Close();
    throw std::runtime_error("ptsname failed");
  }
  p.path = name;
  p.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (p.slave < 0) {
    p.Close();
    throw std::runtime_error("cannot open " + p.path);
  }
  // Raw from the start: a cooked line would echo the replies back.
  termios t{};
  ::tcgetattr(p.slave, &t);
  ::cfmakeraw(&t);
  ::cfsetispeed(&t, B9600);
  ::cfsetospeed(&t, B9600);
  ::tcsetattr(p.slave, TCSANOW, &t);
  ::fcntl(p.master, F_SETFL, ::fcntl(p.master, F_GETFL) | O_NONBLOCK);
  return p;
}

void MakeFolder(const std::string& folder) {
  std::string path;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = folder.find('/', pos + 1);
    path = folder.substr(0, pos);
    if (!path.empty()) ::mkdir(path.c_str(), 0700);
  }
  struct stat st{};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    throw std::runtime_error("cannot make the port folder " + folder);
  }
}

// Points `link` at `target`, replacing whatever stood there, in one rename.
void PlaceLink(const std::string& target, const std::string& link) {
  const std::string temp = link + ".new" + std::to_string(::getpid()) + "-" +
                           std::to_string(reinterpret_cast<std::uintptr_t>(&target));
  ::unlink(temp.c_str());
  if (::symlink(target.c_str(), temp.c_str()) != 0 || ::rename(temp.c_str(), link.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot link " + link + " to " + target);
  }
}

std::string ReadLink(const std::string& link) {
  char buf[512];
  const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

std::string_view FaultName(Fault fault) {
  switch (fault) {
    case Fault::None: return "none";
    case Fault::Silent: return "silent";
    case Fault::Garbage: return "garbage";
    case Fault::ShortReply: return "short";
    case Fault::LateReply: return "late";
    case Fault::BadFirstByte: return "bad-first-byte";
    case Fault::HangUp: return "hangup";
    case Fault::Bursts: return "bursts";
    case Fault::JunkFirst: return "junk-first";
    case Fault::LateIntoNext: return "late-into-next";
    case Fault::CutGsm: return "cut-gsm";
    case Fault::Slow: return "slow";
    case Fault::StopsReading: return "stops-reading";
    case Fault::HangUpMidReply: return "hangup-mid-reply";
  }
  return "none";
}

std::optional<Fault> ParseFault(std::string_view name) {
  for (Fault f : kAllFaults) {
    if (FaultName(f) == name) return f;
  }
  return std::nullopt;
}

GsmRecord DeviceEmulator::DefaultGsmRecord() {
  GsmRecord r;
  r.fill(0x20);
  const std::string_view ip = "192.168.0.1";
  const std::string_view port = "5000";
  const std::string_view apn = "\"internet\",\"\",\"\"";
  std::copy(ip.begin(), ip.end(), r.begin());
  std::copy(port.begin(), port.end(), r.begin() + 15);
  std::copy(apn.begin(), apn.end(), r.begin() + 20);
  r[20 + apn.size()] = 0x00;
  r[70] = 6;   // 60 s
  r[71] = 12;  // 60 s
  std::fill(r.begin() + 72, r.end(), 0xFF);
  return r;
}

struct DeviceEmulator::Impl {
  EmulatorOptions options;
  std::string linkPath;
  int wake[2] = {-1, -1};
  std::thread thread;
  std::atomic<bool> stopping{false};
  std::atomic<Fault> fault{Fault::None};

  mutable std::mutex mutex;
  mutable std::condition_variable received;
  Pty pty;  // replaced under the mutex after a hang-up
  std::vector<Bytes> frames;
  Bytes bytes;
  GsmRecord gsm = DefaultGsmRecord();
  std::optional<CalibrationRecord> calibration;

  // Bytes read but not yet part of a frame, with their arrival on the wire.
  std::deque<std::uint8_t> rx;
  Bytes heldReply;  // LateIntoNext: the reply to the frame before
  Clock::time_point lastArrival{};
  Clock::time_point wireFreeAt{};

  void Log(const std::string& text) const {
    if (options.log) options.log(text);
  }

  // Sleeps until `until`, or less when the emulator stops. False when stopping.
  bool SleepUntil(Clock::time_point until) const {
    while (!stopping) {
      const auto now = Clock::now();
      if (now >= until) return true;
      const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(until - now);
      timespec ts{static_cast<time_t>(left.count() / 1'000'000'000),
                  static_cast<long>(left.count() % 1'000'000'000)};
      pollfd p{wake[0], POLLIN, 0};
      ::ppoll(&p, 1, &ts, nullptr);
    }
    return false;
  }

  void Send(const Bytes& reply, Clock::time_point at) {
    if (reply.empty() || !SleepUntil(at)) return;
    const int fd = pty.master;
    if (!options.realisticPacing) {
      std::size_t done = 0;
      while (done < reply.size()) {
        const ssize_t n = ::write(fd, reply.data() + done, reply.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
      }
      return;
    }
    // Each byte reaches the other end one byte time after it starts out.
    auto slot = Clock::now() + kByteTime;
    for (std::uint8_t b : reply) {
      if (!SleepUntil(slot)) return;
      if (::write(fd, &b, 1) != 1) return;
      slot += kByteTime;
    }
  }

  // Waits until the tool has read every byte sent to it, or until `deadline`.
  void WaitUntilTaken(Clock::time_point deadline) {
    for (;;) {
      int waiting = 0;
      if (::ioctl(pty.slave, FIONREAD, &waiting) != 0 || waiting <= 0) return;
      if (Clock::now() >= deadline || !SleepUntil(Clock::now() + std::chrono::milliseconds(1))) return;
    }
  }

  // Bursts of burstBytes, the first at `at`, then one every burstGapMs.
  void SendInBursts(const Bytes& reply, Clock::time_point at) {
    const std::size_t size = static_cast<std::size_t>(std::max(1, options.burstBytes));
    for (std::size_t from = 0; from < reply.size(); from += size) {
      const auto to = reply.begin() + static_cast<std::ptrdiff_t>(std::min(reply.size(), from + size));
      Send(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(from), to), at);
      at = Clock::now() + std::chrono::milliseconds(options.burstGapMs);
    }
  }

  Bytes Reply(const Bytes& frame, std::uint8_t status) {
    if (frame[3] == kCmdGsmRead && status == kStatusOk) {
      std::lock_guard lock(mutex);
      return Framed(kCmdGsmRead, Bytes(gsm.begin(), gsm.end()));
    }
    return Framed(frame[3], Bytes{status});
  }

  Bytes Spoil(Bytes reply, Fault f, std::uint8_t command) const {
    switch (f) {
      case Fault::Silent:
      case Fault::HangUp: return {};
      case Fault::Garbage: {
        std::uint32_t x = 0x9E3779B9u;
        for (auto& b : reply) {
          x = x * 1664525u + 1013904223u;
          b = static_cast<std::uint8_t>(x >> 24);
        }
        reply[0] = 0xA5;
        if (reply.size() > 1) reply[1] = 0x5A;
        return reply;
      }
      case Fault::ShortReply:
      case Fault::HangUpMidReply: reply.resize(std::max<std::size_t>(1, reply.size() / 2)); return reply;
      case Fault::BadFirstByte: reply[0] = 0x03; return reply;
      case Fault::JunkFirst: {
        Bytes noisy;
        for (int i = 0; i < options.junkBytes; ++i) noisy.push_back(kJunk[static_cast<std::size_t>(i) % sizeof kJunk]);
        noisy.insert(noisy.end(), reply.begin(), reply.end());
        return noisy;
      }
      case Fault::CutGsm: {
        const auto keep = static_cast<std::size_t>(std::max(0, options.gsmCutAfterByte)) + 1;
        if (command == kCmdGsmRead && keep < reply.size()) reply.resize(keep);
        return reply;
      }
      case Fault::None:
      case Fault::LateReply:
      case Fault::Bursts:
      case Fault::LateIntoNext:
      case Fault::Slow:
      case Fault::StopsReading: return reply;
    }
    return reply;
  }

  void Apply(const Bytes& frame, std::uint8_t status) {
    if (status != kStatusOk) return;
    std::lock_guard lock(mutex);
    if (frame[3] == kCmdGsmWrite) {
      std::copy(frame.begin() + kHeader, frame.begin() + kHeader + kGsmRecordSize, gsm.begin());
    } else if (frame[3] == kCmdWrite) {
      CalibrationRecord r;
      std::copy(frame.begin() + kHeader, frame.begin() + kHeader + kWriteFirstPiece, r.begin());
      std::copy(frame.begin() + kWriteTailFrom, frame.begin() + kWriteTailFrom + kWriteTailPiece,
                r.begin() + kWriteFirstPiece);
      calibration = r;
    }
  }

  void HangUpAndReturn() {
    Log("hanging up mid-frame");
    Pty fresh;
    try {
      fresh = OpenPty();
    } catch (const std::exception&) {
    }
    // The link moves first, so that whoever sees the hang-up finds the new line.
    if (!fresh.path.empty() && options.createLink) {
      try {
        PlaceLink(fresh.path, linkPath);
      } catch (const std::exception&) {
      }
    }
    {
      std::lock_guard lock(mutex);
      pty.Close();
      pty = fresh;
    }
    rx.clear();
    Log("back on " + fresh.path);
  }

  // Takes whole frames off the front of rx and answers them.
  void Parse() {
    for (;;) {
      while (!rx.empty() && rx.front() != kStart) {
        Log("stray byte " + HexDump({rx.front()}));
        rx.pop_front();
      }
      if (rx.size() >= 2 && rx[1] != kMarker) {
        Log("stray byte " + HexDump({rx.front()}));
        rx.pop_front();
        continue;
      }
      const Fault f = fault.load();
      if (rx.size() < kHeader) return;
      if (f == Fault::HangUp) {
        HangUpAndReturn();
        return;
      }
      std::uint8_t header[kHeader];
      std::copy(rx.begin(), rx.begin() + kHeader, header);
      const std::size_t length = FrameLength(header);
      if (rx.size() < length) return;
      Bytes frame(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(length));
      rx.erase(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(length));
      const std::uint8_t status = Judge(frame);
      Apply(frame, status);
      {
        std::lock_guard lock(mutex);
        frames.push_back(frame);
      }
      received.notify_all();
      Log(DescribeFrame(frame, status));
      const auto end = lastArrival;
      if (f == Fault::Silent) continue;
      int delay = options.replyDelayMs;
      if (f == Fault::LateReply) delay = options.lateReplyMs;
      if (f == Fault::Slow) delay = options.thinkMs;
      const auto at = end + std::chrono::milliseconds(delay);
      Bytes reply = Spoil(Reply(frame, status), f, frame[3]);
      if (f == Fault::LateIntoNext) {
        // This frame's reply waits for the next frame; the one held goes now.
        std::swap(reply, heldReply);
        Send(reply, at);
      } else if (f == Fault::Bursts) {
        SendInBursts(reply, at);
      } else if (f == Fault::HangUpMidReply) {
        // The hang-up comes while the tool reads: once it has taken the half sent.
        Send(reply, at);
        WaitUntilTaken(Clock::now() + std::chrono::seconds(3));
        HangUpAndReturn();
        return;
      } else {
        Send(reply, at);
      }
    }
  }

  void Run() {
    std::uint8_t buf[512];
    while (!stopping) {
      int timeout = -1;
      if (!rx.empty()) {
        const auto left = lastArrival + kIncompleteFrameGap - Clock::now();
        timeout = static_cast<int>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1));
      }
      if (fault.load() == Fault::StopsReading) {
        // Takes nothing off the line; looks again now and then for the fault to end.
        pollfd w{wake[0], POLLIN, 0};
        ::poll(&w, 1, 20);
        continue;
      }
      pollfd p[2] = {{wake[0], POLLIN, 0}, {pty.master, POLLIN, 0}};
      const int r = ::poll(p, pty.master >= 0 ? 2 : 1, timeout);
      if (stopping) break;
      if (r < 0 && errno != EINTR) break;
      if (pty.master < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      if (p[1].revents & POLLIN) {
        const ssize_t n = ::read(pty.master, buf, sizeof buf);
        if (n > 0) {
          const auto now = Clock::now();
          for (ssize_t i = 0; i < n; ++i) {
            // With pacing a byte is in once its eleven bits have crossed the
            // wire, after the byte before it.
            auto at = now;
            if (options.realisticPacing) {
              at = std::max(now, wireFreeAt) + kByteTime;
              wireFreeAt = at;
            }
            lastArrival = at;
            rx.push_back(buf[i]);
          }
          {
            std::lock_guard lock(mutex);
            bytes.insert(bytes.end(), buf, buf + n);
          }
          if (options.realisticPacing && !SleepUntil(lastArrival)) break;
          Parse();
          continue;
        }
      }
      if (!rx.empty() && Clock::now() >= lastArrival + kIncompleteFrameGap) {
        Log("incomplete frame dropped: " + HexDump(Bytes(rx.begin(), rx.end())));
        rx.clear();
      }
    }
  }
};

DeviceEmulator::DeviceEmulator(EmulatorOptions options) : impl_(std::make_unique<Impl>()) {
  Impl& m = *impl_;
  m.options = std::move(options);
  m.fault = m.options.fault;
  if (m.options.comNumber < 1 || m.options.comNumber > 42) throw std::runtime_error("COM number outside 1..42");
  if (::pipe2(m.wake, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe failed");
  try {
    m.pty = OpenPty();
    if (m.options.createLink) {
      MakeFolder(m.options.portFolder);
      m.linkPath = m.options.portFolder + "/COM" + std::to_string(m.options.comNumber);
      PlaceLink(m.pty.path, m.linkPath);
    }
  } catch (...) {
    m.pty.Close();
    ::close(m.wake[0]);
    ::close(m.wake[1]);
    throw;
  }
  m.thread = std::thread([&m] { m.Run(); });
}

DeviceEmulator::~DeviceEmulator() {
  Impl& m = *impl_;
  m.stopping = true;
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(m.wake[1], &c, 1);
  m.thread.join();
  if (!m.linkPath.empty() && ReadLink(m.linkPath) == m.pty.path) ::unlink(m.linkPath.c_str());
  m.pty.Close();
  ::close(m.wake[0]);
  ::close(m.wake[1]);
}

std::string DeviceEmulator::DevicePath() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->pty.path;
}

std::string DeviceEmulator::LinkPath() const { return impl_->linkPath; }

std::vector<std::vector<std::uint8_t>> DeviceEmulator::ReceivedFrames() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->frames;
}

std::vector<std::uint8_t> DeviceEmulator::ReceivedBytes() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->bytes;
}

bool DeviceEmulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->received.wait_for(lock, timeout, [&] { return impl_->frames.size() >= count; });
}

void DeviceEmulator::ClearReceived() {
  std::lock_guard lock(impl_->mutex);
  impl_->frames.clear();
  impl_->bytes.clear();
}

GsmRecord DeviceEmulator::GetGsmRecord() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->gsm;
}

void DeviceEmulator::SetGsmRecord(const GsmRecord& record) {
  std::lock_guard lock(impl_->mutex);
  impl_->gsm = record;
}

std::optional<CalibrationRecord> DeviceEmulator::LastCalibrationRecord() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->calibration;
}

termios DeviceEmulator::LineSettings() const {
  std::lock_guard lock(impl_->mutex);
  termios t{};
  ::tcgetattr(impl_->pty.slave, &t);
  return t;
}

void DeviceEmulator::SendUnsolicited(const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->pty.master < 0 || bytes.empty()) return;
  [[maybe_unused]] const ssize_t n = ::write(impl_->pty.master, bytes.data(), bytes.size());
}

std::size_t DeviceEmulator::PendingFromTool() const {
  std::lock_guard lock(impl_->mutex);
  int pending = 0;
  if (impl_->pty.master < 0 || ::ioctl(impl_->pty.master, FIONREAD, &pending) != 0) return 0;
  return static_cast<std::size_t>(std::max(0, pending));
}

void DeviceEmulator::SetFault(Fault fault) { impl_->fault = fault; }

Fault DeviceEmulator::GetFault() const { return impl_->fault.load(); }

}  // namespace tacho::emu
