// bench_link: times the device exchanges and the device search against the
// emulator with realistic pacing, next to their protocol floors (the fixed
// waits, the read time-outs and the wire time at 9600 baud 8E1), and measures
// the processor time they use and how soon a click during a wait is handled.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AppContext.h"
#include "DeviceEmulator.h"
#include "DeviceSearch.h"
#include "Exchange.h"
#include "FormModel.h"
#include "Frames.h"
#include "PortChoice.h"
#include "PortMap.h"
#include "PortSettings.h"
#include "SerialPort.h"
#include "Session.h"

namespace {

using namespace tacho;
using Clock = std::chrono::steady_clock;

constexpr int kReplyDelayMs = 10;  // the emulated device's think time
constexpr double kByteMs = 11.0 / 9.6;  // 11 bits at 9600 baud
constexpr std::size_t kAckBytes = 7;
constexpr std::size_t kGsmReplyBytes = 110;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ProcessCpuMs() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// A window stand-in driven by events: the responsive delay waits for posted
// events or its deadline and runs each event as it comes; a blocking port step
// runs on a worker thread while the events go on being run, as in the window.
class EventForm : public FormModel {
 public:
  void RunBlocking(const std::function<void()>& step) override {
    bool done = false;
    std::thread worker([&] {
      step();
      {
        std::lock_guard lock(mutex_);
        done = true;
      }
      wake_.notify_all();
    });
    std::unique_lock lock(mutex_);
    while (!done) {
      RunPostedEvents(lock);
      wake_.wait(lock, [&] { return done || !events_.empty(); });
    }
    lock.unlock();
    worker.join();
  }
  void Post(std::function<void()> event) {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(std::move(event));
    }
    wake_.notify_all();
  }
  void ResponsiveDelay(int ms) override {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(mutex_);
    do {
      RunPostedEvents(lock);
      wake_.wait_until(lock, deadline, [&] { return !events_.empty(); });
    } while (!events_.empty() || Clock::now() < deadline);
  }

 private:
  // Runs every posted event, each without the lock held; returns holding it.
  void RunPostedEvents(std::unique_lock<std::mutex>& lock) {
    while (!events_.empty()) {
      auto event = std::move(events_.front());
      events_.pop_front();
      lock.unlock();
      event();
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> events_;
};

struct TempFolder {
  std::string path;
  TempFolder() {
    char name[] = "/tmp/tacho-bench-XXXXXX";
    if (!::mkdtemp(name)) std::abort();
    path = name;
  }
  ~TempFolder() {
    for (int n = 1; n <= kPortCount; ++n) ::unlink((path + "/COM" + std::to_string(n)).c_str());
    ::rmdir(path.c_str());
  }
};

struct Rig {
  TempFolder folder;
  EventForm form;
  Session session;
  SerialPort port{PortMap(folder.path, {})};
  AppContext app{form, session, port};
  std::vector<std::unique_ptr<emu::DeviceEmulator>> devices;

  void AddDevice(int com, emu::Fault fault = emu::Fault::None) {
    emu::EmulatorOptions o;
    o.portFolder = folder.path;
    o.comNumber = com;
    o.realisticPacing = true;
    o.replyDelayMs = kReplyDelayMs;
    o.fault = fault;
    devices.push_back(std::make_unique<emu::DeviceEmulator>(o));
  }
};

// The thread that runs the command, as the window's thread would.
double ThreadCpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

struct Figure {
  double wallMs = 0;
  double cpuMs = 0;        // the whole process, the emulated devices included
  double threadCpuMs = 0;  // the command's own thread
};

Figure Measure(int runs, const std::function<void()>& once) {
  Figure total;
  for (int i = 0; i < runs; ++i) {
    const double cpu0 = ProcessCpuMs();
    const double thread0 = ThreadCpuMs();
    const auto t0 = Clock::now();
    once();
    total.wallMs += Ms(Clock::now() - t0);
    total.cpuMs += ProcessCpuMs() - cpu0;
    total.threadCpuMs += ThreadCpuMs() - thread0;
  }
  total.wallMs /= runs;
  total.cpuMs /= runs;
  total.threadCpuMs /= runs;
  return total;
}

int failures = 0;

void Report(const char* what, const Figure& f, double floorMs, double goalRatio) {
  const double ratio = f.wallMs / floorMs;
  const double cpuShare = 100.0 * f.cpuMs / f.wallMs;
  const bool ok = ratio <= goalRatio && cpuShare < 5.0;
  if (!ok) ++failures;
  std::printf("%-44s %9.1f ms  floor %8.1f ms  ratio %6.3f (goal <= %.2f)  cpu %5.2f %% (command thread %4.2f %%)  %s\n",
              what, f.wallMs, floorMs, ratio, goalRatio, cpuShare, 100.0 * f.threadCpuMs / f.wallMs, ok ? "ok" : "MISSED");
}

// When the last reply byte is in, counted from the end of the write (the
// frame has left): the device's delay and the reply's wire time.
double LastReplyByteMs(std::size_t replyBytes) { return kReplyDelayMs + replyBytes * kByteMs; }

// The write returns once the frame has crossed the wire; the read after the
// wait ends when its count is in, or 15 ms after the last byte of a shorter reply.
double ExchangeFloorMs(std::size_t frameBytes, std::size_t replyBytes, std::size_t readCount) {
  const double replyIn = std::max<double>(kReplyWaitMs, LastReplyByteMs(replyBytes));
  return frameBytes * kByteMs + replyIn + (replyBytes < readCount ? kCommTimeouts.ReadIntervalTimeout : 0);
}

void Exchanges() {
  Rig rig;
  rig.AddDevice(3);
  rig.session.PortIndex = 2;
  for (std::size_t i = 0; i < kPayloadSize; ++i) rig.session.PayloadArea[i] = static_cast<std::uint8_t>(i);
  int writes = 0;
  int succeeded = 0;
  const auto judge = [&](std::size_t arrived) {
    ++writes;
    if (WriteAcknowledged(rig.session, arrived)) ++succeeded;
  };
  const int runs = 5;

  const Figure write = Measure(runs, [&] {
    RunDeviceExchange(rig.form, rig.session, rig.port,
                      {.word = "write", .writeCount = kWriteFrameLength, .readCount = kWriteReplyLength, .judge = judge});
  });
  Report("calibration write (200 bytes, reply 7)", write,
         ExchangeFloorMs(kWriteFrameLength, kAckBytes, kWriteReplyLength), 1.03);

  const Figure read = Measure(runs, [&] {
    RunDeviceExchange(rig.form, rig.session, rig.port,
                      {.word = "GSM_read", .writeCount = kGsmReadFrameLength, .readCount = kGsmReadReplyLength});
  });
  Report("GSM read (6 bytes, reply 110 of 120)", read,
         ExchangeFloorMs(kGsmReadFrameLength, kGsmReplyBytes, kGsmReadReplyLength), 1.03);

  const Figure gsmWrite = Measure(runs, [&] {
    RunDeviceExchange(rig.form, rig.session, rig.port,
                      {.word = "GSM_write",
                       .writeCount = kGsmWriteFrameLength,
                       .readCount = kWriteReplyLength,
                       .secondWait = true,
                       .judge = judge});
  });
  Report("GSM write (110 bytes, reply 7, second wait)", gsmWrite,
         ExchangeFloorMs(kGsmWriteFrameLength, kAckBytes, kWriteReplyLength) + kReplyWaitMs, 1.03);

  if (succeeded != writes) {
    std::printf("  !! %d of %d writes reported an error\n", writes - succeeded, writes);
    ++failures;
  }
}

void Searches() {
  {
    Rig rig;  // no links, no serial devices
    const Figure f = Measure(20, [&] { Search_ButtonClick(rig.app); });
    const bool ok = f.wallMs < 100.0;
    if (!ok) ++failures;
    std::printf("%-44s %9.3f ms  goal < 100 ms%36s%s\n", "search of 42 ports, nothing there", f.wallMs, "",
                ok ? "ok" : "MISSED");
  }
  {
    Rig rig;
    for (int com = 1; com <= 4; ++com) rig.AddDevice(com, emu::Fault::Silent);
    rig.AddDevice(5);
    // Each silent port: the probe's wire time, the wait and a 9-byte read that
    // times out. The device's port: the same, then 15 ms after its 7-byte reply.
    const double silent = kProbeWriteLength * kByteMs + kProbeWaitMs + ReadTotalTimeoutMs(kProbeReplyLength);
    const double found = kProbeWriteLength * kByteMs + std::max<double>(kProbeWaitMs, LastReplyByteMs(kAckBytes)) +
                         kCommTimeouts.ReadIntervalTimeout;
    const Figure f = Measure(2, [&] { Search_ButtonClick(rig.app); });
    Report("search finding COM 5 behind 4 silent ports", f, 4 * silent + found, 1.03);
    if (rig.session.PortIndex != 4) {
      std::printf("  !! the search did not find COM 5\n");
      ++failures;
    }
  }
}

// A click posted during the exchange's wait: how long until its handler runs.
void ClickDuringWait() {
  Rig rig;
  rig.AddDevice(1);
  std::vector<double> latencies;
  std::mutex m;
  for (int round = 0; round < 5; ++round) {
    std::thread clicker([&] {
      for (int at : {30, 90, 150}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(at == 30 ? 30 : 60));
        const auto posted = Clock::now();
        rig.form.Post([&, posted] {
          const double ms = Ms(Clock::now() - posted);
          Search_ButtonClick(rig.app);  // refused quietly: a command runs
          std::lock_guard lock(m);
          latencies.push_back(ms);
        });
      }
    });
    CommandScope scope(rig.session);
    RunDeviceExchange(rig.form, rig.session, rig.port,
                      {.word = "write", .writeCount = kWriteFrameLength, .readCount = kWriteReplyLength});
    clicker.join();
  }
  const double worst = latencies.empty() ? 1e9 : *std::max_element(latencies.begin(), latencies.end());
  const bool ok = latencies.size() == 15 && worst < 20.0;
  if (!ok) ++failures;
  std::printf("%-44s %9.3f ms  goal < 20 ms (%zu clicks, worst shown)%14s%s\n", "click during a wait handled in", worst,
              latencies.size(), "", ok ? "ok" : "MISSED");
}

}  // namespace

int main() {
  std::printf("bench_link: against the emulator, 9600 baud 8E1 pacing (%.3f ms a byte), reply delay %d ms\n", kByteMs,
              kReplyDelayMs);
  std::printf("cpu: processor time over wall time, the emulated devices' threads included (goal < 5 %%)\n");
  Exchanges();
  Searches();
  ClickDuringWait();
  std::printf("%s\n", failures == 0 ? "all goals met" : "some goals missed");
  return 0;
}
