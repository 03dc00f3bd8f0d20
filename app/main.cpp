// Start-up: OLE and the program's folder, the main window created hidden, the creation sequence,
// then the window shown and the message loop. Every way out goes through end_program.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <new>

#include "app/install_folder.h"
#include "app/program.h"
#include "ui/main_window.h"

namespace {

// Runs once, after the window and its controls exist and before anyone can see or touch it.
void run_creation_sequence(km::MainWindow& window) {
  km::install_folder() = km::read_install_folder();
  // Registering the window as a drop target for skin packs comes here, once the import exists.
  km::CommandContext ctx = window.commands();
  km::ListRedrawPause pause(window.list_control());
  km::startup_load(ctx);
}

int run(HINSTANCE instance) {
  km::start_program();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  km::MainWindow window(instance, km::install_folder());
  if (!window.create()) km::fatal_stop("无法创建主窗口。");
  run_creation_sequence(window);
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
