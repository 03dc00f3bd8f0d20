#include "ui/import_progress.h"

#include <commctrl.h>

#include <thread>

#include "ui/dpi.h"
#include "ui/window.h"
#include "win32/handles.h"

namespace km {

const char* const kImportProgressCaption = "正在导入皮肤";

namespace {

const char kProgressClass[] = "KestrinMarquelleImportProgress";
constexpr UINT kPercentMessage = WM_APP + 1;  // wparam: percent
constexpr UINT kDoneMessage = WM_APP + 2;     // wparam: the work's result
constexpr int kLineId = 10, kBarId = 11, kPercentId = 12;

class ProgressWindow final : public Window {
 public:
  bool open(HINSTANCE instance, HWND owner, const std::string& file_name) {
    if (!register_class(instance, kProgressClass, nullptr, GetSysColorBrush(COLOR_BTNFACE))) return false;
    const int dpi = system_dpi();
    auto px = [dpi](int value) { return scale_for_dpi(value, dpi); };
    RECT owner_rect{};
    GetWindowRect(owner, &owner_rect);
    const int width = px(360), height = px(140);
    const int left = (owner_rect.left + owner_rect.right - width) / 2;
    const int top = (owner_rect.top + owner_rect.bottom - height) / 2;
    if (!create(instance, kProgressClass, kImportProgressCaption, WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, left,
                 top, width, height, owner))
      return false;
    font_.reset(CreateFontA(-px(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "微软雅黑"));
    const std::string line = "正在复制 " + file_name + "…";
    HWND controls[] = {
        CreateWindowExA(0, WC_STATICA, line.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                        px(12), px(10), px(330), px(18), hwnd(), reinterpret_cast<HMENU>(kLineId), instance, nullptr),
        CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, px(12), px(34), px(280), px(18), hwnd(),
                        reinterpret_cast<HMENU>(kBarId), instance, nullptr),
        CreateWindowExA(0, WC_STATICA, "0%", WS_CHILD | WS_VISIBLE | SS_RIGHT, px(296), px(34), px(46), px(18), hwnd(),
                        reinterpret_cast<HMENU>(kPercentId), instance, nullptr),
        CreateWindowExA(0, WC_BUTTONA, "取消", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, px(262), px(64),
                        px(80), px(26), hwnd(), reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr),
    };
    for (HWND control : controls) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(controls[1], PBM_SETRANGE32, 0, 100);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    return true;
  }
  bool finished() const { return finished_; }
  SystemError result() const { return result_; }
  std::atomic<bool> cancel{false};

 private:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case kPercentMessage: {
        SendDlgItemMessageA(hwnd(), kBarId, PBM_SETPOS, wparam, 0);
        const std::string percent = std::to_string(wparam) + "%";
        SetDlgItemTextA(hwnd(), kPercentId, percent.c_str());
        return 0;
      }
      case kDoneMessage:
        finished_ = true;
        result_ = static_cast<SystemError>(wparam);
        return 0;
      case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL) {
          cancel = true;
          EnableWindow(GetDlgItem(hwnd(), IDCANCEL), FALSE);
        }
        return 0;
      case WM_CLOSE:
        return 0;  // only "取消" or the end of the work closes it
      default:
        return Window::handle_message(message, wparam, lparam);
    }
  }

  UniqueFont font_;
  bool finished_ = false;
  SystemError result_ = 0;
};

}  // namespace

SystemError run_with_progress(HINSTANCE instance, HWND owner, const std::string& file_name, std::uint64_t total,
                              const ProgressWork& work) {
  ProgressWindow window;
  if (!window.open(instance, owner, file_name)) {
    std::atomic<bool> never{false};
    return work(never, [](std::uint64_t) {});
  }
  EnableWindow(owner, FALSE);
  HWND progress = window.hwnd();
  std::thread worker([&work, &window, progress, total] {
    int shown = -1;
    const SystemError result = work(window.cancel, [&](std::uint64_t done) {
      const int percent = total ? static_cast<int>(done * 100 / total) : 100;
      if (percent != shown) {
        shown = percent;
        PostMessageA(progress, kPercentMessage, static_cast<WPARAM>(percent), 0);
      }
    });
    PostMessageA(progress, kDoneMessage, result, 0);
  });
  // A modal loop of our own: the owner and every other window of the thread keep painting.
  MSG message;
  bool quit = false;
  while (!window.finished()) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the work stops and leaves nothing behind; the quit goes on outward.
      quit = got == 0;
      window.cancel = true;
      break;
    }
    if (IsDialogMessageA(progress, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  worker.join();
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
  return window.finished() ? window.result() : system_error::kCancelled;
}

}  // namespace km
