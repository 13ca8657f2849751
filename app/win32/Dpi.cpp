#include "Dpi.h"

namespace tacho {
namespace {

// A function of user32 by name; nullptr where this system has none.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  // Through a plain function pointer type: the cast between two function
  // pointer types is then well defined and draws no warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : static_cast<int>(kDesignDpi);
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

UINT DpiOfWindow(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  if (const auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow"); getDpi && window) {
    if (const UINT dpi = getDpi(window)) return dpi;
  }
  return ScreenDpi();
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  RECT rect{0, 0, clientWidth, clientHeight};
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  if (const auto adjust = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi")) {
    if (adjust(&rect, style, FALSE, exStyle, dpi)) return rect;
    rect = {0, 0, clientWidth, clientHeight};
  }
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return rect;
}

}  // namespace tacho
