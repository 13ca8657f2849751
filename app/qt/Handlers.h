// Connects each control's event to its handler in the page logic. Every handler
// runs through RunHandler, so an error that escapes it shows in the error box
// and the window goes on. Lists run their handler on the user's pick only.
#pragma once

#include "AppContext.h"

namespace tacho {

class TForm1;

void ConnectHandlers(TForm1& form, AppContext& app);

}  // namespace tacho
