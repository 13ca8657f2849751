// The port operations that may block, each run through the waiter off the
// user-interface thread, and the close that ends a command however it ends.
#pragma once

#include "SerialPort.h"
#include "Waiter.h"

namespace tacho {

// Closes the port through the waiter when the scope ends, however it ends. Once
// the window is gone the close still happens; the WindowClosed that the waiter
// then raises is swallowed here, since the command is already on its way out.
class ClosePortAtEnd {
 public:
  ClosePortAtEnd(IWaiter& waiter, SerialPort& port) : waiter_(waiter), port_(port) {}
  ~ClosePortAtEnd() {
    try {
      Close();
    } catch (...) {
    }
  }
  ClosePortAtEnd(const ClosePortAtEnd&) = delete;
  ClosePortAtEnd& operator=(const ClosePortAtEnd&) = delete;
  // The close of the normal path: a WindowClosed raised here ends the command.
  void Close() {
    if (port_.IsOpen()) waiter_.RunBlocking([this] { port_.Close(); });
  }

 private:
  IWaiter& waiter_;
  SerialPort& port_;
};

}  // namespace tacho
