#include "ui/hyperlink_label.h"

#include <windowsx.h>

#include <utility>

#include "ui/dpi.h"

namespace km {

namespace {

const char kHyperlinkClass[] = "KestrinMarquelleHyperlink";

UniqueFont make_link_font(int dpi) {
  // A character height of 12 pixels (96 DPI), normal weight, underlined, GB2312 character set, and
  // no face name: the system's default face for that character set.
  return UniqueFont(CreateFontA(-scale_for_dpi(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, GB2312_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, nullptr));
}

}  // namespace

HyperlinkLabel::HyperlinkLabel(std::string link, Opener open) : link_(std::move(link)), open_(open) {}

bool HyperlinkLabel::create(HINSTANCE instance, HWND parent, int id, const char* caption, const RECT& where,
                            int dpi) {
  if (!register_class(instance, kHyperlinkClass, nullptr, nullptr)) return false;
  font_ = make_link_font(dpi);
  if (!Window::create(instance, kHyperlinkClass, caption, WS_CHILD | WS_VISIBLE, 0, where.left, where.top,
                      where.right - where.left, where.bottom - where.top, parent))
    return false;
  SetWindowLongPtrA(hwnd(), GWLP_ID, id);
  return true;
}

void HyperlinkLabel::set_dpi(int dpi) {
  font_ = make_link_font(dpi);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

COLORREF HyperlinkLabel::text_colour() const {
  if (hover_) return kHoverLinkColour;
  return visited_ ? kVisitedLinkColour : kLinkColour;
}

void HyperlinkLabel::pointer_moved(POINT where) {
  if (!hover_) {
    hover_ = true;
    SetCapture(hwnd());
    InvalidateRect(hwnd(), nullptr, FALSE);
    return;
  }
  // With the capture the label sees every movement, so it can tell when the pointer has left.
  RECT client;
  GetClientRect(hwnd(), &client);
  if (PtInRect(&client, where)) {
    if (GetCapture() != hwnd()) SetCapture(hwnd());
  } else {
    hover_ = false;
    ReleaseCapture();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void HyperlinkLabel::pressed() {
  // The open may run a message loop (the shell's own boxes) in which the window goes away.
  visited_ = !link_.empty() && open_(link_);
  if (hwnd()) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
  }
}

void HyperlinkLabel::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  std::string caption(static_cast<size_t>(GetWindowTextLengthA(hwnd())) + 1, '\0');
  caption.resize(static_cast<size_t>(GetWindowTextA(hwnd(), &caption[0], static_cast<int>(caption.size()))));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_colour());
  HGDIOBJ old_font = SelectObject(dc, font_.get());
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old_font);
  EndPaint(hwnd(), &ps);
}

LRESULT HyperlinkLabel::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole label
    case WM_SETTEXT: {
      const LRESULT result = Window::handle_message(message, wparam, lparam);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return result;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649) /* IDC_HAND */));
      return TRUE;
    case WM_MOUSEMOVE:
      pointer_moved({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the pointer (a menu, a box, another program): the hover ends here, or
      // it would stay lit after the pointer has gone. A later movement over the label lights it
      // again and takes the capture back.
      if (reinterpret_cast<HWND>(lparam) != hwnd() && hover_) {
        hover_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      pressed();
      return 0;
    default:
      return Window::handle_message(message, wparam, lparam);
  }
}

}  // namespace km
