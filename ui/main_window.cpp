#include "ui/main_window.h"

#include <commctrl.h>

#include "gamefiles/disk_win32.h"
#include "resources/resource_ids.h"
#include "ui/about_window.h"
#include "ui/contact_link.h"
#include "ui/dpi.h"
#include "ui/import_progress.h"
#include "ui/main_window_layout.h"
#include "ui/picture.h"

namespace km {

namespace {

const char kMainWindowClass[] = "KestrinMarquelleMainWindow";
const COLORREF kHintTextColor = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
constexpr UINT kRunImportCopyMessage = WM_APP + 10;

UniqueFont make_control_font(int dpi) {
  // "微软雅黑" at a character height of 12 pixels (96 DPI), normal weight, GB2312 character set.
  return UniqueFont(CreateFontA(-scale_for_dpi(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "微软雅黑"));
}

UniqueIcon load_icon(HINSTANCE instance, int size) {
  return UniqueIcon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAIN_WINDOW), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Services services)
    : instance_(instance), services_(std::move(services)) {}

bool MainWindow::create() {
  white_brush_.reset(CreateSolidBrush(kWhite));
  if (!register_class(instance_, kMainWindowClass, nullptr, GetSysColorBrush(COLOR_BTNFACE))) return false;

  // Centred on the primary screen, worked out once, with integer division.
  dpi_ = system_dpi();
  const int width = scale_for_dpi(kMainWindowWidth, dpi_), height = scale_for_dpi(kMainWindowHeight, dpi_);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (!Window::create(instance_, kMainWindowClass, kMainWindowCaption, style, WS_EX_APPWINDOW, left, top, width,
                      height, nullptr))
    return false;

  create_controls();
  // The monitor the window landed on may have another DPI than the primary screen.
  const int window_dpi = dpi_of_window(hwnd());
  if (window_dpi != dpi_) {
    SetWindowPos(hwnd(), nullptr, 0, 0, scale_for_dpi(kMainWindowWidth, window_dpi),
                 scale_for_dpi(kMainWindowHeight, window_dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  apply_dpi(window_dpi);
  return list_ != nullptr;
}

void MainWindow::create_controls() {
  for (const ControlSpec& layout : kMainWindowControls) {
    const char* window_class = WC_STATICA;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD ex_style = 0;
    switch (layout.kind) {
      case ControlKind::label:
        // Clipped by its siblings so the picture above its left end stays on top.
        style |= SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX | WS_CLIPSIBLINGS;
        break;
      case ControlKind::picture:
        style |= SS_OWNERDRAW;
        break;
      case ControlKind::list:
        window_class = WC_LISTVIEWA;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_OWNERDATA;
        ex_style = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::button:
        window_class = WC_BUTTONA;
        style |= WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
        break;
    }
    HWND control = CreateWindowExA(ex_style, window_class, layout.text, style, 0, 0, 0, 0, hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance_, nullptr);
    if (layout.kind == ControlKind::list) list_ = control;
  }
  SetWindowPos(GetDlgItem(hwnd(), kHintPictureId), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  if (!list_) return;
  skin_list_.attach(list_);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kSkinListColumns[i].format;
    column.cx = kSkinListColumns[i].width;
    column.pszText = const_cast<char*>(kSkinListColumns[i].caption);
    column.iSubItem = i;
    SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

// Everything that depends on the DPI, in one place: positions, fonts, column widths, pictures, icons.
void MainWindow::apply_dpi(int dpi) {
  dpi_ = dpi;
  // The controls get the new font and icons before the old ones are released: a control must
  // never hold a handle that is gone.
  UniqueFont font = make_control_font(dpi);
  for (const ControlSpec& layout : kMainWindowControls) {
    HWND control = GetDlgItem(hwnd(), layout.id);
    const RECT r = control_rect(layout, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout.kind != ControlKind::picture) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  font_ = std::move(font);
  for (int i = 0; i < 2; ++i)
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), scale_for_dpi(kSkinListColumns[i].width, dpi));

  const int picture_size = scale_for_dpi(17, dpi);
  hint_picture_ = load_png_picture(instance_, IDR_SPEAKER_PNG, picture_size, picture_size);
  InvalidateRect(GetDlgItem(hwnd(), kHintPictureId), nullptr, TRUE);

  UniqueIcon big_icon = load_icon(instance_, scale_for_dpi(32, dpi));
  UniqueIcon small_icon = load_icon(instance_, scale_for_dpi(16, dpi));
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon.get()));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));
  big_icon_ = std::move(big_icon);
  small_icon_ = std::move(small_icon);
}

void MainWindow::show() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
}

bool MainWindow::handle_dialog_keys(MSG& message) {
  return hwnd() && IsDialogMessageA(hwnd(), &message);
}

void MainWindow::hide() { ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::load_skins() {
  ListRedrawPause pause(list_);
  CommandContext ctx = commands();
  startup_load(ctx);
}

bool MainWindow::register_drop_target() { return drop_target_.register_on(hwnd()); }

void MainWindow::files_dropped(const DroppedFiles& drop) {
  if (pending_copy_) return;
  CommandContext ctx = commands();
  std::optional<ImportCopy> copy = import_drop(ctx, drop);
  if (!copy) return;
  // Opened now, while the drop holds: a source that deletes its temporary file once the drop
  // returns cannot take it from under the copy. Deletion is shared so that it can.
  UniqueFile source(CreateFileA(copy->source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source) {
    const SystemError error = GetLastError();
    return finish_import_copy(ctx, *copy, error ? error : ERROR_GEN_FAILURE);
  }
  // The copy may take minutes: it runs once the drop has returned, so the file manager that
  // started the drag is not held up. No other drop is taken until it is done.
  pending_copy_ = std::move(copy);
  pending_source_ = std::move(source);
  drop_target_.set_accepting(false);
  PostMessageA(hwnd(), kRunImportCopyMessage, 0, 0);
}

void MainWindow::run_import_copy() {
  if (!pending_copy_) return;
  LARGE_INTEGER size{};
  GetFileSizeEx(pending_source_.get(), &size);
  HANDLE source = pending_source_.get();
  const ImportCopy& copy = *pending_copy_;
  const SystemError error = run_with_progress(
      instance_, hwnd(), copy.file_name, static_cast<std::uint64_t>(size.QuadPart),
      [&](const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& done) {
        return copy_into_place(source, copy.target, copy.listed, &cancel, done);
      });
  pending_source_.reset();
  CommandContext ctx = commands();
  finish_import_copy(ctx, copy, error);
  pending_copy_.reset();
  drop_target_.set_accepting(true);
}

CommandContext MainWindow::commands() {
  return CommandContext{services_.install_folder, services_.disk, skin_list_, services_.messages,
                        services_.program};
}

void MainWindow::run_command(int id) {
  CommandContext ctx = commands();
  switch (id) {
    case kMountCommand:
      mount_skin(ctx);
      break;
    case kUnmountCommand:
      unmount_skin(ctx);
      break;
    case kDeleteCommand:
      delete_skin(ctx);
      break;
    case kAboutCommand:
      run_about_window(instance_, hwnd());
      break;
    case kContactCommand:
      open_contact_link(hwnd());
      break;
    case kRestoreDefaultCommand:
      restore_default(ctx);
      break;
    default:
      break;
  }
}

void MainWindow::open_skin_menu() {
  if (skin_list_.selection() == -1) return;
  // The popup menu "皮肤操作" (skin operations), built anew for every right click.
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  for (const MenuItemSpec& item : kSkinMenuItems) {
    if (item.id == 0) AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    else AppendMenuA(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  // The chosen item arrives as WM_COMMAND after the menu has closed, like a button click.
  TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, cursor.x + 3, cursor.y + 3, 0, hwnd(), nullptr);
}

void MainWindow::draw_hint_picture(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, white_brush_.get());
  draw_picture(item.hDC, hint_picture_.get(), item.rcItem.left, item.rcItem.top);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:  // the caption's close button, the system menu, Alt+F4
      services_.close_requests.close_requested();
      return 0;
    case WM_QUERYENDSESSION:  // log-off, restart, shut-down: No refuses it
      return services_.close_requests.close_requested() ? TRUE : FALSE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {  // Esc, from whichever control has the focus
        services_.close_requests.close_requested();
        return 0;
      }
      if (HIWORD(wparam) == 0) run_command(LOWORD(wparam));  // BN_CLICKED, or a menu choice
      return 0;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->hwndFrom != list_) return 0;
      if (header->code == NM_RCLICK) open_skin_menu();
      if (header->code == LVN_GETDISPINFOA) skin_list_.fill_display_info(*reinterpret_cast<NMLVDISPINFOA*>(lparam));
      return 0;
    }
    case kRunImportCopyMessage:
      run_import_copy();
      return 0;
    case WM_DESTROY:
      drop_target_.revoke();
      break;
    case WM_NOTIFYFORMAT: {  // our texts are GBK: the list must ask for them in the ANSI form
      return NFR_ANSI;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == GetDlgItem(hwnd(), kHintLabelId)) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, kHintTextColor);
        SetBkColor(dc, kWhite);
        return reinterpret_cast<LRESULT>(white_brush_.get());
      }
      break;
    case WM_DRAWITEM:
      if (wparam == kHintPictureId) {
        draw_hint_picture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      // Like a dialog: the focus goes back to the control that had it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        focus_ = GetFocus();
      } else {
        SetFocus(focus_ && IsChild(hwnd(), focus_) ? focus_ : list_);
        return 0;
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

}  // namespace km
