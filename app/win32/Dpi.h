// Pixels per inch of a window or of the system, and scaling from the window
// description's 96 dpi. Newer calls are looked up at run time, so that the
// program also starts where they are missing.
#pragma once

#include "WindowsHeaders.h"

namespace tacho {

inline constexpr UINT kDesignDpi = 96;

// GetDpiForWindow where the system has it, else the screen's LOGPIXELSY.
UINT DpiOfWindow(HWND window);
// The window rectangle for a client area of the given size at `dpi`.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// `value` at 96 dpi scaled to `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }

}  // namespace tacho
