#pragma once
// The main window: the skin list, four command buttons, the hint line with its picture, and the
// popup menu on the list. It lives as long as the process: every close request goes to the close
// confirmation, which either refuses or ends the program.
#include <string>

#include <optional>

#include "commands/commands.h"
#include "commands/import.h"
#include "ui/drop_target.h"
#include "ui/list_control.h"
#include "ui/window.h"
#include "win32/handles.h"

namespace km {

// Every close request (the close button, the system menu, Alt+F4, Esc, the log-off query) goes
// here. The real one asks and ends the program on Yes; it returns false when the user said No.
class CloseRequests {
 public:
  virtual ~CloseRequests() = default;
  virtual bool close_requested() = 0;
};

class MainWindow final : public Window, private FileDropHandler {
 public:
  // What the window's commands work with, built by the program before the window.
  struct Services {
    std::string install_folder;  // empty when no game folder is known
    Disk& disk;
    UserMessages& messages;
    ProgramControl& program;
    CloseRequests& close_requests;
  };
  MainWindow(HINSTANCE instance, Services services);

  // Creates the window hidden, centred on the primary screen, with all its controls.
  bool create();
  void show();
  void hide();
  // Skin packs dropped on the window are imported; false when the system refused the registration.
  bool register_drop_target();
  // The start-up load: the rows from the catalogue, with the list's drawing held meanwhile.
  void load_skins();
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
  void draw_hint_picture(const DRAWITEMSTRUCT& item);
  void files_dropped(const DroppedFiles& drop) override;
  void run_import_copy();

  HINSTANCE instance_;
  Services services_;
  ListViewSkinList skin_list_;
  DropTarget drop_target_{*this};
  // A pack from another volume, opened inside the drop, copied once the drop has returned.
  std::optional<ImportCopy> pending_copy_;
  UniqueFile pending_source_;

  int dpi_ = 96;
  HWND list_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last deactivated
  UniqueFont font_;
  UniqueBrush white_brush_;
  UniqueBitmap hint_picture_;
  UniqueIcon big_icon_, small_icon_;
};

}  // namespace km
