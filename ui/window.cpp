#include "ui/window.h"

#include <exception>
#include <new>
#include <string>

#include "win32/fatal_stop.h"

namespace km {

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Window::register_class(HINSTANCE instance, const char* class_name, HICON icon, HBRUSH background) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, class_name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  return RegisterClassExA(&wc) != 0;
}

bool Window::create(HINSTANCE instance, const char* class_name, const char* caption, DWORD style,
                    DWORD ex_style, int x, int y, int width, int height, HWND parent) {
  return CreateWindowExA(ex_style, class_name, caption, style, x, y, width, height, parent, nullptr, instance,
                         this) != nullptr;
}

LRESULT Window::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  try {
    return self->handle_message(message, wparam, lparam);
  } catch (const std::bad_alloc&) {
    fatal_stop("内存不足。");
  } catch (const std::exception& e) {
    fatal_stop(e.what());
  } catch (...) {
    fatal_stop("未知错误。");
  }
}

}  // namespace km
