// The waits a command needs from the window, and nothing more of it: the link
// and the commands reach the window's event loop only through this.
//
// The contract every front end keeps (the in-memory model keeps it inline):
// - Both calls are made on the user-interface thread only, by a running command
//   or search, never nested in each other.
// - While either runs, the window keeps handling its events: painting, the busy
//   cursor, the close button. Clicks on controls are handled too; a command
//   disables the controls that could start another one before it waits.
// - Once the user has closed the window during a command, the window is hidden
//   and marked closed, and from then on every wait ends by throwing WindowClosed
//   (see each call for when). The front end ends the program after the handler
//   that was running has unwound.
#pragma once

#include <functional>

namespace tacho {

// Thrown by a wait once the user has closed the window: the command ends there,
// its port is closed on the way out, and no further box is shown. Not an error
// for the user, so it is no std::exception; the handler runner swallows it.
struct WindowClosed {};

class IWaiter {
 public:
  virtual ~IWaiter() = default;
  // Keeps handling the window's events until at least `ms` milliseconds have
  // passed on a steady clock, handling pending events at least once, without
  // spinning the processor. Throws WindowClosed when the window is closed before
  // or during the wait; the wait then ends at once.
  virtual void ResponsiveDelay(int ms) = 0;
  // Runs `step`, a port operation that may block, off the user-interface thread
  // and keeps handling the window's events until it is done. `step` touches only
  // what the command has handed it (the port, buffers of its own); nothing on
  // the user-interface thread touches those until it returns. An exception
  // thrown by `step` is thrown again here, on the user-interface thread. Throws
  // WindowClosed when the window was closed before or while it ran, but only
  // after `step` has finished: once closed, the step runs to its end (inline, as
  // nothing is left to paint) and then the call throws.
  virtual void RunBlocking(const std::function<void()>& step) = 0;
};

}  // namespace tacho
