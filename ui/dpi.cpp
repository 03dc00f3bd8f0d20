#include "ui/dpi.h"

namespace km {

int system_dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int dpi_of_window(HWND hwnd) {
  // Windows 10 1607 and later; looked up at run time so the program still starts on older systems.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window && hwnd) {
    const UINT dpi = get_dpi_for_window(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return system_dpi();
}

int move_to_suggested_rect(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
  SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return LOWORD(wparam);
}

}  // namespace km
