#pragma once
// Sizes are designed at 96 DPI and scaled once by the DPI of the monitor the window is on.
#include <windows.h>

namespace km {

constexpr int kDesignDpi = 96;

inline int scale_for_dpi(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }

// The window's DPI (per monitor where the system knows it), else the screen's.
int dpi_of_window(HWND hwnd);
// The primary screen's DPI, for sizes worked out before a window exists.
int system_dpi();

// WM_DPICHANGED: the window moved to a monitor of another DPI. Takes the rectangle the system
// suggests and gives the new DPI.
constexpr UINT kDpiChangedMessage = 0x02E0;
int move_to_suggested_rect(HWND hwnd, WPARAM wparam, LPARAM lparam);

}  // namespace km
