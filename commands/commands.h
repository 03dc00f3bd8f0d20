#pragma once
// The skin commands. Each is a plain procedure that takes what it touches, reads the files it
// needs when it runs (nothing is cached between commands) and talks to the user only through
// UserMessages. The main window's button and menu handlers call these.
#include <string>

#include "commands/skin_list.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/disk.h"

namespace km {

// The message box kinds of the main window; the values are the MessageBoxA flags.
enum class MessageKind {
  failure = 0x30,      // exclamation icon, OK
  information = 0x40,  // information icon, OK
  question = 0x44,     // information icon, Yes and No
};

// "信息：", the title of every message box that names none.
extern const char* const kDefaultMessageTitle;

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // Shows a task-modal box without an owner and waits; true when the user chose Yes.
  virtual bool show(const std::string& text, MessageKind kind, const std::string& title) = 0;
  bool show(const std::string& text, MessageKind kind) { return show(text, kind, kDefaultMessageTitle); }
};

// What a command may do to the program itself.
class ProgramControl {
 public:
  virtual ~ProgramControl() = default;
  virtual void hide_main_window() = 0;
  // Ends the process; the real one never returns (a fake does, so callers return right after).
  virtual void end_program(int exit_code) = 0;
};

struct CommandContext {
  const std::string& install_folder;
  Disk& disk;
  Catalogue& catalogue;
  SkinList& list;
  UserMessages& messages;
  ProgramControl& program;
};

// Mount statuses shown in column 1.
extern const char* const kMounted;     // "已挂载"
extern const char* const kNotMounted;  // "未挂载"

// Fills the empty list from the catalogue: one row per filled slot, in slot order, the whole value
// as the name, the status from one reading of the mount list. Reports nothing.
void startup_load(CommandContext& ctx);

// Writes the stock mount list; on success hides the window, says so and ends the program with 0.
// When the write fails it says so and the program goes on.
void restore_default(CommandContext& ctx);

}  // namespace km
