#pragma once
// The skin commands. Each is a plain procedure that takes what it touches, reads the files it
// needs when it runs (nothing is cached between commands) and talks to the user only through
// UserMessages. The main window's button and menu handlers call these.
#include <string>

#include "commands/skin_list.h"
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
  // The folder that holds the game's Game folder; empty when none is known, and then no command
  // builds a path from it.
  const std::string& install_folder;
  Disk& disk;
  SkinList& list;
  UserMessages& messages;
  ProgramControl& program;
};

// Mount statuses shown in column 1.
extern const char* const kMounted;     // "已挂载"
extern const char* const kNotMounted;  // "未挂载"

// Fills the empty list from the catalogue: one row per filled slot, in slot order, the whole value
// as the name, the status from one reading of the mount list. A catalogue that exists but cannot
// be read is said once; nothing is written.
void startup_load(CommandContext& ctx);

// Adds the selected skin's entry to the mount list and shows it mounted. Refuses a skin whose pack
// is not in the Game folder.
void mount_skin(CommandContext& ctx);
// Takes every entry of the selected skin out of the mount list and shows it not mounted.
void unmount_skin(CommandContext& ctx);
// Takes the selected skin out of the mount list, the Game folder (into the Recycle Bin) and the
// catalogue, in that order, and then out of the list; stops at the first step that fails.
void delete_skin(CommandContext& ctx);

// Writes the stock mount list; on success hides the window, says so and ends the program with 0.
// When the write fails it says so and why, and the program goes on.
void restore_default(CommandContext& ctx);

}  // namespace km
