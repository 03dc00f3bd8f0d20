#pragma once
// Import: a skin pack dropped on the main window enters the Game folder and the catalogue.
//
// Everything up to the move runs while the drop is handled: the checks, in an order that tells the
// user the most useful thing first, each stopping with its own message; then, on one volume, a
// rename, the catalogue and the row. A pack on another volume must be copied, which may take
// minutes: the checks hand back an ImportCopy, the window copies it with a progress window after
// the drop has returned, and finish_import_copy does the rest. The dropped file leaves its place
// only once the import has succeeded.
#include <optional>
#include <string>
#include <vector>

#include "commands/commands.h"

namespace km {

// The paths of one drop, in the ANSI code page, in the order the shell listed them.
struct DroppedFiles {
  std::vector<std::string> paths;
  // Some path held characters the code page cannot hold (they arrive as substitutes).
  bool unmappable_name = false;
};

// The name rules. The file name is everything after the last real backslash (a GBK second byte
// 0x5C is no backslash); the skin name is the file name with every ".zip" taken out; the pack is
// stored in the Game folder as the skin name + ".zip", the name the other commands look for.
std::string dropped_file_name(const std::string& path);
std::string skin_name_of(const std::string& file_name);

// A copy from another volume, waiting for the window to run it.
struct ImportCopy {
  std::string source;      // the dropped path
  std::string target;      // the stored pack in the Game folder
  std::string file_name;   // as dropped, for the progress line
  std::string skin_name;
  bool listed = false;     // a re-import: the copy replaces the pack; no new slot or row
};

// Runs the import of one drop as far as it can go inside the drop. Returns the copy still to be
// done when the pack is on another volume; nullopt when the import is finished or refused.
std::optional<ImportCopy> import_drop(CommandContext& ctx, const DroppedFiles& drop);

// After the copy (copy_error kCancelled: the user cancelled; the copy left nothing behind): the
// catalogue, the row, and then the dropped file deleted.
void finish_import_copy(CommandContext& ctx, const ImportCopy& copy, SystemError copy_error);

}  // namespace km
