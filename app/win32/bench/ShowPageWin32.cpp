// For the screenshots of the Win32 window (docs/take-windows-screenshots.sh):
// shows the window on the page given as the first argument (0 or 1), as a user
// switching to it would, prints "CLIENT left top width height" (the client area
// on the screen) and runs until it is ended.
#include "Unit1.h"  // windows.h, before commctrl.h

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "StartUp.h"

int main(int argc, char** argv) {
  const int page = argc > 1 ? std::atoi(argv[1]) : 0;
  return tacho::RunTool([page](tacho::TForm1& form) {
    SendMessageW(form.Control(tacho::ControlId::sPageControl1), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
    // The first edit field on the page holds the focus, as after a click into it.
    SetFocus(form.Control(page == 0 ? tacho::ControlId::sEdit_master_N : tacho::ControlId::Edit_operator));
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(form.Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(form.Handle(), &origin);
    std::printf("CLIENT %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::fflush(stdout);
  });
}
