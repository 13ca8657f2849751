// What a command handler works on: the window, the session areas, the port.
#pragma once

#include "Form.h"
#include "SerialPort.h"
#include "Session.h"

namespace tacho {

struct AppContext {
  IForm& form;
  Session& session;
  SerialPort& port;
};

}  // namespace tacho
