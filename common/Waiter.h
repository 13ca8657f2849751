// The waits a command needs from the window, and nothing more of it: the link
// and the commands reach the window's event loop only through this.
#pragma once

#include <functional>

namespace tacho {

// Thrown by a wait once the user has closed the window: the command ends there,
// its port is closed on the way out, and no further box is shown. Not an error
// for the user, so it is no std::exception.
struct WindowClosed {};

class IWaiter {
 public:
  virtual ~IWaiter() = default;
  // Keeps handling the window's events until at least `ms` milliseconds have
  // passed, handling pending events at least once, without spinning the processor.
  virtual void ResponsiveDelay(int ms) = 0;
  // Runs `step`, a port operation that may block, off the user-interface thread
  // and keeps handling the window's events until it is done; an exception thrown
  // by `step` comes out here. The in-memory model runs it inline.
  virtual void RunBlocking(const std::function<void()>& step) = 0;
};

}  // namespace tacho
