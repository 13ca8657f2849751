// The window's handlers without a toolkit: the page switch, the help message, and
// the dispatch from the handler a control's description names to the page logic.
// Every front end connects its controls through RunNamedHandler.
#pragma once

#include "AppContext.h"
#include "WindowDescription.h"

namespace tacho {

// Shows the command buttons of the page now shown (kCommandButtonsByPage).
void sPageControl1Change(IForm& form);
// The help text in a message box captioned "О программе".
void Help_ButtonClick(IForm& form);

// Runs `handler` for the window of `app`, as the event loop does: an error that
// escapes it is shown in the error box. Handler::None does nothing.
void RunNamedHandler(Handler handler, AppContext& app);

}  // namespace tacho
