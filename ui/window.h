#pragma once
// The base of our windows: one static window procedure that hands every message to the object
// stored at WM_NCCREATE. No C++ exception ever unwinds through user32: running out of memory is a
// fatal stop, and any other exception too, since the window's state is then unknown.
#include <windows.h>

namespace km {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class once per process (a second call finds it registered).
  static bool register_class(HINSTANCE instance, const char* class_name, HICON icon, HBRUSH background);
  bool create(HINSTANCE instance, const char* class_name, const char* caption, DWORD style, DWORD ex_style,
              int x, int y, int width, int height, HWND parent);
  virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace km
