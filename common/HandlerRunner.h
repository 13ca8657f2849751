// How the event loop runs a handler: an error that escapes it is shown in the
// error box, and the program goes on.
#pragma once

#include <functional>

#include "Form.h"

namespace tacho {

void RunHandler(IForm& form, const std::function<void()>& handler);

}  // namespace tacho
