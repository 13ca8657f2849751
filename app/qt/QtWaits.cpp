#include "QtWaits.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>
#include <utility>

#include "Waiter.h"

namespace tacho {
namespace {

// Counts a wait for as long as it runs, however it ends.
struct WaitDepth {
  explicit WaitDepth(int& depth) : depth_(depth) { ++depth_; }
  ~WaitDepth() { --depth_; }
  WaitDepth(const WaitDepth&) = delete;
  WaitDepth& operator=(const WaitDepth&) = delete;
  int& depth_;
};

}  // namespace

QtWaits::QtWaits(QObject* context, std::function<void()> whenUnwound)
    : context_(context), whenUnwound_(std::move(whenUnwound)) {}

void QtWaits::ResponsiveDelay(int ms) {
  if (closed_) ThrowClosed();
  {
    const WaitDepth counted(depth_);
    QElapsedTimer elapsed;
    elapsed.start();
    QCoreApplication::processEvents();
    for (qint64 left = ms - elapsed.elapsed(); left > 0 && !closed_; left = ms - elapsed.elapsed()) {
      QEventLoop loop;
      delayLoop_ = &loop;
      QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
      const int ended = loop.exec();
      delayLoop_ = nullptr;
      // The application is quitting and runs no more event loops: the rest of
      // the wait is slept, the wire's timing still kept.
      if (ended < 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms - elapsed.elapsed()));
    }
  }
  if (closed_) ThrowClosed();
}

void QtWaits::RunBlocking(const std::function<void()>& step) {
  if (closed_) {
    // Nothing is left to paint: the step runs here, to its end.
    step();
    ThrowClosed();
  }
  {
    const WaitDepth counted(depth_);
    std::exception_ptr error;
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker([&] {
      try {
        step();
      } catch (...) {
        error = std::current_exception();
      }
      done = true;
      QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Another quit (the application's) may end the loop early: it runs again
    // until the step is done, unless no event loop may run any more.
    while (!done) {
      if (loop.exec() < 0) break;
    }
    worker.join();
    if (error) std::rethrow_exception(error);
  }
  if (closed_) ThrowClosed();
}

void QtWaits::MarkClosed() {
  closed_ = true;
  if (delayLoop_) delayLoop_->quit();
}

void QtWaits::ThrowClosed() {
  if (!announced_ && context_) {
    announced_ = true;
    // Queued: it runs once the handler has unwound and the main loop runs again.
    QTimer::singleShot(0, context_, whenUnwound_);
  }
  throw WindowClosed{};
}

}  // namespace tacho
