#pragma once
// The main window: the skin list, four command buttons, the hint line with its picture, and the
// popup menu on the list. It lives as long as the process: every close request goes to the close
// confirmation, which either refuses or ends the program.
#include <string>

#include "commands/commands.h"
#include "gamefiles/catalogue_win32.h"
#include "gamefiles/disk_win32.h"
#include "ui/handles.h"
#include "ui/list_control.h"
#include "ui/message_box.h"
#include "ui/window.h"

namespace km {

class MainWindow final : public Window, private ProgramControl {
 public:
  // The install folder is read by the creation sequence after the window exists; the commands
  // build their paths from it each time they run.
  MainWindow(HINSTANCE instance, const std::string& install_folder);

  // Creates the window hidden, centred on the primary screen, with all its controls.
  bool create();
  void show();
  // The dialog keyboard: Tab between controls, Space on a button, Esc as a close request.
  bool handle_dialog_keys(MSG& message);

  CommandContext commands();
  HWND list_control() const { return list_; }

 private:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void create_controls();
  void apply_dpi(int dpi);
  void run_command(int id);
  void open_skin_menu();
  bool confirm_close();
  void draw_hint_picture(const DRAWITEMSTRUCT& item);

  // ProgramControl, for Restore default.
  void hide_main_window() override;
  void end_program(int exit_code) override;

  HINSTANCE instance_;
  const std::string& install_folder_;
  Win32Disk disk_;
  ProfileCatalogue catalogue_;
  ListViewSkinList skin_list_;
  MessageBoxes messages_;

  int dpi_ = 96;
  HWND list_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last deactivated
  UniqueFont font_;
  UniqueBrush white_brush_;
  UniqueBitmap hint_picture_;
  UniqueIcon big_icon_, small_icon_;
};

}  // namespace km
