// How the event loop runs a handler: an error that escapes it is shown in the
// error box, and the program goes on. WindowClosed (the user closed the window
// during a command) ends the handler silently.
#pragma once

#include <functional>

#include "Form.h"

namespace tacho {

void RunHandler(IForm& form, const std::function<void()>& handler);

}  // namespace tacho
