// Start-up: the application, the window with its session and port, the event
// loop. An error while starting shows in the error box; the exit code is 0.
#pragma once

#include <functional>

namespace tacho {

class TForm1;

// `shown` runs once the window has been shown (the start-up benchmark hooks in here).
int RunTool(int& argc, char** argv, const std::function<void(TForm1&)>& shown = {});

}  // namespace tacho
