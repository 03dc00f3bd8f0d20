#include "ui/about_window.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "program_version.h"
#include "resources/resource_ids.h"
#include "ui/contact_link.h"
#include "ui/dpi.h"
#include "win32/handles.h"
#include "ui/hyperlink_label.h"
#include "ui/picture.h"
#include "ui/window.h"

namespace km {

namespace {

const char kAboutWindowClass[] = "KestrinMarquelleAboutWindow";
const char kAboutCaption[] = "关于我们";
constexpr int kAboutWidth = 522;  // outer size at 96 DPI, frame and title bar included
constexpr int kAboutHeight = 192;

// Every name, address and number in the note is made up.
const char kAboutNote[] =
    "Kestrin-Marquelle 皮肤包管理工具  版本 " KM_VERSION_TEXT "\r\n"
    "\r\n"
    "1. 本软件只是替您把皮肤包放进游戏目录、写进游戏的资源列表，"
    "和您自己动手修改游戏文件的效果完全一样。\r\n"
    "2. 本软件免费提供，禁止任何人倒卖或收费转售。\r\n"
    "3. 欢迎大家使用，有问题或建议请随时联系我们。\r\n"
    "\r\n"
    "主播小岚的直播间：https://live.example.com/xiaolan\r\n"
    "主播小岚的QQ：0987654321\r\n"
    "作者的QQ：0123456789";

enum AboutControlId : int {
  kNoteId = 200,
  kContactLabelId = 201,
  kInviteLabelId = 202,
  kBannerId = 203,
};

struct AboutControl {
  int id;
  int x, y, width, height;  // client coordinates at 96 DPI
  const char* text;
};

const AboutControl kAboutControls[] = {
    {kNoteId, 5, 5, 363, 152, kAboutNote},
    {kContactLabelId, 383, 15, 112, 24, "联系客服"},
    {kInviteLabelId, 379, 46, 125, 24, "找小岚获取更多皮肤"},
    {kBannerId, 377, 107, 130, 50, ""},
};

RECT scaled_rect(const AboutControl& c, int dpi) {
  const int left = scale_for_dpi(c.x, dpi), top = scale_for_dpi(c.y, dpi);
  return {left, top, left + scale_for_dpi(c.width, dpi), top + scale_for_dpi(c.height, dpi)};
}

class AboutWindow final : public Window {
 public:
  explicit AboutWindow(HINSTANCE instance) : instance_(instance) {}

  bool create(HWND owner);
  void run_modal();

 private:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void apply_dpi(int dpi);
  void disable_other_windows();
  void close();

  HINSTANCE instance_;
  HyperlinkLabel contact_label_{kContactLink};
  HyperlinkLabel invite_label_{kContactLink};
  HWND note_ = nullptr;
  UniqueBrush white_brush_;
  UniqueBitmap banner_;
  UniqueIcon big_icon_, small_icon_;
  // The windows this one disabled, each with whether it was enabled before.
  std::vector<std::pair<HWND, bool>> disabled_;
};

bool AboutWindow::create(HWND owner) {
  white_brush_.reset(CreateSolidBrush(RGB(255, 255, 255)));
  if (!register_class(instance_, kAboutWindowClass, nullptr, GetSysColorBrush(COLOR_BTNFACE))) return false;
  // Centred on the primary screen, integer division. Owned by the main window and without
  // WS_EX_APPWINDOW: no taskbar button of its own. A fixed frame and no maximise box.
  const int dpi = system_dpi();
  const int width = scale_for_dpi(kAboutWidth, dpi), height = scale_for_dpi(kAboutHeight, dpi);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (!Window::create(instance_, kAboutWindowClass, kAboutCaption, style, 0, left, top, width, height, owner))
    return false;

  // The note: read-only, wrapped at the box's width, a vertical scroll bar, a thin border. It can
  // take the focus so that its text can be selected and copied.
  note_ = CreateWindowExA(0, WC_EDITA, kAboutNote,
                          WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                              ES_READONLY | ES_AUTOVSCROLL | ES_LEFT,
                          0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoteId)), instance_,
                          nullptr);
  SendMessageA(note_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  CreateWindowExA(0, WC_STATICA, "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 0, 0, hwnd(),
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBannerId)), instance_, nullptr);
  const RECT none{0, 0, 0, 0};
  if (!note_ || !contact_label_.create(instance_, hwnd(), kContactLabelId, kAboutControls[1].text, none, dpi) ||
      !invite_label_.create(instance_, hwnd(), kInviteLabelId, kAboutControls[2].text, none, dpi))
    return false;

  // The monitor the window landed on may have another DPI than the primary screen.
  const int window_dpi = dpi_of_window(hwnd());
  if (window_dpi != dpi) {
    SetWindowPos(hwnd(), nullptr, 0, 0, scale_for_dpi(kAboutWidth, window_dpi),
                 scale_for_dpi(kAboutHeight, window_dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  apply_dpi(window_dpi);
  return true;
}

void AboutWindow::apply_dpi(int dpi) {
  for (const AboutControl& c : kAboutControls) {
    const RECT r = scaled_rect(c, dpi);
    SetWindowPos(GetDlgItem(hwnd(), c.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  contact_label_.set_dpi(dpi);
  invite_label_.set_dpi(dpi);
  banner_ = load_png_picture(instance_, IDR_ABOUT_BANNER_PNG, scale_for_dpi(130, dpi), scale_for_dpi(50, dpi));
  InvalidateRect(GetDlgItem(hwnd(), kBannerId), nullptr, TRUE);

  const auto load_icon = [&](int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(instance_, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  };
  big_icon_ = load_icon(scale_for_dpi(32, dpi));
  small_icon_ = load_icon(scale_for_dpi(16, dpi));
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
}

void AboutWindow::disable_other_windows() {
  struct Search {
    HWND self;
    std::vector<std::pair<HWND, bool>>* found;
  } search{hwnd(), &disabled_};
  // A CALLBACK function, not a lambda: 32-bit Windows calls it with the stdcall convention.
  struct Visit {
    static BOOL CALLBACK window(HWND window, LPARAM param) {
      auto* s = reinterpret_cast<Search*>(param);
      if (window != s->self && IsWindowVisible(window)) s->found->push_back({window, IsWindowEnabled(window) != 0});
      return TRUE;
    }
  };
  EnumThreadWindows(GetCurrentThreadId(), Visit::window, reinterpret_cast<LPARAM>(&search));
  for (const auto& [window, was_enabled] : disabled_) EnableWindow(window, FALSE);
}

void AboutWindow::run_modal() {
  // The others are disabled first, as a dialog box does: no input can reach them once this shows.
  disable_other_windows();
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  SetFocus(note_);

  MSG message;
  while (hwnd()) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit on to the outer loop.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    // Esc closes the window from whichever of its controls has the focus; the multi-line note
    // would otherwise keep the key for itself.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        (message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd))) {
      close();
      continue;
    }
    if (IsDialogMessageA(hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (hwnd()) close();
}

void AboutWindow::close() {
  // The other windows are enabled before this one goes, so that the activation returns to the
  // main window rather than to another program's.
  for (const auto& [window, was_enabled] : disabled_)
    if (IsWindow(window)) EnableWindow(window, was_enabled);
  disabled_.clear();
  DestroyWindow(hwnd());
}

LRESULT AboutWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:  // the close button, Close on the system menu, Alt+F4: no question
      close();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && note_) {
        SetFocus(note_);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:  // a read-only edit asks with this: black text on white
      if (reinterpret_cast<HWND>(lparam) == note_) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(white_brush_.get());
      }
      break;
    case WM_DRAWITEM:
      if (wparam == kBannerId) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        draw_picture(item.hDC, banner_.get(), item.rcItem.left, item.rcItem.top);
        return TRUE;
      }
      break;
    case kDpiChangedMessage:
      apply_dpi(move_to_suggested_rect(hwnd(), wparam, lparam));
      return 0;
    default:
      break;
  }
  return Window::handle_message(message, wparam, lparam);
}

}  // namespace

void run_about_window(HINSTANCE instance, HWND owner) {
  AboutWindow about(instance);
  if (about.create(owner)) about.run_modal();
}

}  // namespace km
