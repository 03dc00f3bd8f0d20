#pragma once
// Drives the real program from a second process, as a user would: a game install made for the
// test, the registry value pointed at it, the program started, its window, list, buttons, message
// boxes and popup menu read and worked through the ordinary window messages. Every wait is bounded;
// a program still running when its Program object goes is killed.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../win/temp_folder.h"

namespace km::e2e {

// A game install in a fresh temp folder: <root>\Game\...
class GameInstall {
 public:
  GameInstall();
  const std::string& folder() const { return root_.path(); }
  std::string game_path(const std::string& name) const { return root_.path() + "\\Game\\" + name; }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;  // "<missing>" when there is no such file

 private:
  testing::TempFolder root_;
};

struct Control {
  HWND hwnd;
  std::string class_name;
  std::string text;
  RECT rect;  // in the parent window's client coordinates
};

// The child windows of a window of the program, first to last.
std::vector<Control> controls_of(HWND parent);

struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
};

using Row = std::array<std::string, 2>;

// What a window shows on the screen: 32-bit pixels, row by row from the top.
struct ScreenPicture {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
  bool operator==(const ScreenPicture& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
  int colour_count() const;
  int pixels_of(COLORREF colour) const;  // how many pixels show exactly this colour
};

// The window's rectangle as painted on the screen, taken once the painting has settled.
ScreenPicture picture_of(HWND hwnd);

// A popup menu with these captions (nullptr: a separator) opened by this process at `where`,
// pictured and dismissed: what a menu with exactly these items looks like here. The items of
// another process's menu cannot be read under Wine, so a test compares the two pictures instead.
ScreenPicture reference_popup_menu(const std::vector<const char*>& captions, POINT where);

class Program {
 public:
  // Points HKLM\SOFTWARE\Tencent\LOL\InstallPath (32-bit view) at the folder, starts the program and
  // waits until its main window is shown. Fails the test (and returns null) when it does not show.
  static std::unique_ptr<Program> start(const std::string& install_folder);
  // Starts the program without waiting for its window: with the registry value pointing at the
  // folder, or with no value at all (null). The folder remembered by an earlier run is forgotten
  // first unless kept.
  static std::unique_ptr<Program> launch(const std::string* install_folder, bool keep_remembered = false);
  bool wait_main_window(int ms);
  // The system's folder picker, shown by the program; null when none came within `ms`.
  HWND wait_folder_picker(int ms = 5000) const;
  // Types the path into the picker's edit box and presses OK; or presses Cancel.
  void choose_folder(HWND picker, const std::string& typed) const;
  void cancel_folder_picker(HWND picker) const;
  ~Program();

  HWND window() const { return window_; }
  HWND list() const { return list_; }
  bool running() const;
  std::vector<Control> controls() const;
  HWND button(const std::string& caption) const;

  std::vector<Row> rows() const;
  std::string column_caption(int column) const;
  int column_width(int column) const;
  int selection() const;
  void select(int row) const;
  RECT row_rect(int row) const;  // in the list's client coordinates

  // A visible message box of the program, waited for up to `ms`; hwnd null when none came.
  MessageBoxSeen wait_message_box(int ms = 5000) const;
  // Presses a button of a message box (IDOK, IDYES, IDNO) and waits until the box is gone.
  void answer(const MessageBoxSeen& box, int button) const;
  // Presses the main window's button of that caption, takes the one message box it opens and
  // closes it with OK.
  MessageBoxSeen press(const std::string& caption) const;
  // The program's popup menu window, waited for up to `ms`; null when none opened.
  HWND wait_popup_menu(int ms) const;
  // Right-clicks the row and chooses the popup menu's item `item` (counted from 0, the separator
  // not counted) with the keyboard.
  void choose_menu_item(int row, int item) const;
  // A visible top-level window of the program with this class and caption, waited for up to `ms`.
  HWND wait_window(const std::string& class_name, const std::string& caption, int ms = 5000) const;

  // Waits for the process to end; true with its exit code when it did within `ms`.
  bool wait_exit(int ms, DWORD* exit_code) const;

 private:
  Program() = default;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

// The first window of that class under the parent, at any depth.
HWND find_descendant(HWND parent, const std::string& class_name);
// No game registry value, no remembered folder.
void forget_install_folders();
void forget_game_install_path();
// The folder the program remembered for this user; "<none>" when there is none.
std::string remembered_install_folder();

// A Unix path as the Windows side sees it (drive Z:).
std::string windows_path(const char* unix_path);
// A catalogue with these values in slots 1..N, as the program writes it.
std::string catalogue_of(const std::vector<std::string>& names);

// The program's path as Windows sees it.
std::string program_path();
// The test stand-in for the programs the shell starts (tests/tools/shell_recorder.cpp).
std::string shell_recorder_path();

// The game's stock archive list, as the program must write it.
std::string default_mount_list_bytes();

// The smallest real ZIP archive with one entry, "a.txt" holding "hi" (stored).
std::string small_zip();
// A real ZIP archive of `size` bytes or a little more at `path`: one stored entry of zeros, written
// without writing the zeros (the file system keeps a hole). False when it could not be made.
bool write_large_zip(const std::string& path, std::uint64_t size);

}  // namespace km::e2e
