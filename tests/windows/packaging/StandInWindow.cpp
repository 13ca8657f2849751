// Stands in for the Windows program in the packaging tests while the build has
// no real one: an empty window with the main window's class and caption, which
// ends when it is closed. Packaged as Tachocalib.exe only in that case.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "WindowDescription.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
std::wstring Wide(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const std::wstring className = Wide(tacho::kMainWindow.className);
  const std::wstring caption = Wide(tacho::kMainWindow.caption);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  if (RegisterClassExW(&windowClass) == 0) return 1;

  HWND window = CreateWindowExW(0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, tacho::kMainWindow.clientWidth, tacho::kMainWindow.clientHeight,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
