// The composition root: start-up, the install folder, the real disk and message boxes handed to
// the main window, the creation sequence, then the window shown and the message loop. Every way
// out goes through end_program.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <new>

#include "app/install_folder.h"
#include "app/program.h"
#include "gamefiles/disk_win32.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "win32/fatal_stop.h"

namespace {

// What the commands may do to the program, and the close confirmation.
class Program final : public km::ProgramControl, public km::CloseRequests {
 public:
  explicit Program(km::UserMessages& messages) : messages_(messages) {}
  void attach(km::MainWindow& window) { window_ = &window; }

  void hide_main_window() override {
    if (window_) window_->hide();
  }
  void end_program(int exit_code) override { km::end_program(exit_code); }
  bool close_requested() override {
    if (messages_.show("软件正在运行，你确认要关闭吗？", km::MessageKind::question, "确认关闭软件？"))
      km::end_program(0);
    return false;
  }

 private:
  km::UserMessages& messages_;
  km::MainWindow* window_ = nullptr;
};

int run(HINSTANCE instance) {
  km::start_program();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  km::Win32Disk disk;
  km::MessageBoxes messages;
  Program program(messages);
  // Before any window: the question, when there is one, comes first.
  const std::string install_folder = km::locate_install_folder(disk, messages);

  km::MainWindow window(instance, km::MainWindow::Services{install_folder, disk, messages, program, program});
  program.attach(window);
  if (!window.create()) km::fatal_stop("无法创建主窗口。");
  // The creation sequence, before anyone can see or touch the window.
  window.register_drop_target();  // without it the window works, only drops are not taken
  window.load_skins();
  window.show();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.handle_dialog_keys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  km::end_program(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return run(instance);
  } catch (const std::bad_alloc&) {
    km::fatal_stop("内存不足。");
  } catch (const std::exception& e) {
    km::fatal_stop(e.what());
  }
}
