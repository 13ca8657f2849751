// The waits of the Qt window (see Waiter.h for the contract): the responsive
// delay as a nested event loop ended by a timer, a blocking port step on a
// worker thread while a nested event loop runs, and the window closed during a
// command, after which every wait throws WindowClosed.
#pragma once

#include <QPointer>
#include <functional>

class QEventLoop;
class QObject;

namespace tacho {

class QtWaits {
 public:
  // `whenUnwound` runs once, from the event loop, after the first WindowClosed
  // has been thrown: by then the running handler has unwound. `context` owns it.
  QtWaits(QObject* context, std::function<void()> whenUnwound);

  void ResponsiveDelay(int ms);
  void RunBlocking(const std::function<void()>& step);

  // A wait is running: a command owns the window.
  bool Waiting() const { return depth_ > 0; }
  // The user closed the window during a wait: a delay ends at once, a step when
  // it is done, and every wait from now on throws WindowClosed.
  void MarkClosed();
  bool Closed() const { return closed_; }

 private:
  [[noreturn]] void ThrowClosed();

  QPointer<QObject> context_;
  std::function<void()> whenUnwound_;
  QEventLoop* delayLoop_ = nullptr;
  int depth_ = 0;
  bool closed_ = false;
  bool announced_ = false;
};

}  // namespace tacho
