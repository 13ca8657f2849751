// Start-up benchmark: starts the tool's start-up code in a fresh process, again
// and again, and prints the time from the process start to the window shown
// (its first paint done) and the process's peak memory.
// Usage: bench_startup [runs]   (under xvfb-run, or with QT_QPA_PLATFORM=offscreen)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "StartUp.h"
#include "Unit1.h"

extern char** environ;

namespace {

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Reports the moment the window's first paint is done, then quits.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(int fd) : fd_(fd) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, watched, [this] {
        const std::string line = std::to_string(NowNs()) + " " + QGuiApplication::platformName().toStdString() + "\n";
        if (write(fd_, line.data(), line.size()) < 0) std::_Exit(3);
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  int fd_;
  bool seen_ = false;
};

int Child(int argc, char** argv, int fd) {
  FirstPaint watcher(fd);
  return tacho::RunTool(argc, argv, [&watcher](tacho::TForm1& form) { form.installEventFilter(&watcher); });
}

struct Run {
  double shownMs;
  long peakKb;
  std::string platform;
};

bool RunOnce(const char* self, Run& run) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const std::string fd = std::to_string(fds[1]);
  char* args[] = {const_cast<char*>(self), const_cast<char*>("--child"), const_cast<char*>(fd.c_str()), nullptr};
  const long long start = NowNs();
  pid_t pid = 0;
  if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) != 0) return false;
  close(fds[1]);
  std::string reply;
  char buf[128];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) reply.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  char platform[64] = {};
  long long shown = 0;
  if (std::sscanf(reply.c_str(), "%lld %63s", &shown, platform) != 2) return false;
  run = {static_cast<double>(shown - start) / 1e6, usage.ru_maxrss, platform};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
    const int fd = std::atoi(argv[2]);
    int childArgc = 1;
    return Child(childArgc, argv, fd);
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::vector<Run> results;
  for (int i = 0; i < runs; ++i) {
    Run run;
    if (!RunOnce("/proc/self/exe", run)) {
      std::fprintf(stderr, "bench_startup: run %d failed (is a display or QT_QPA_PLATFORM=offscreen set?)\n", i + 1);
      return 1;
    }
    results.push_back(run);
  }
  std::vector<double> times;
  long peak = 0;
  for (const Run& r : results) {
    times.push_back(r.shownMs);
    peak = std::max(peak, r.peakKb);
  }
  std::sort(times.begin(), times.end());
  std::printf("platform %s, %d runs\n", results.front().platform.c_str(), runs);
  std::printf("start to window shown: median %.1f ms, min %.1f ms, max %.1f ms\n", times[times.size() / 2],
              times.front(), times.back());
  std::printf("peak memory (max RSS): %.1f MB\n", static_cast<double>(peak) / 1024.0);
  return 0;
}
