#pragma once
// Failure messages say why: the decided first line, CR LF, one short reason line.
#include <string>

#include "commands/commands.h"

namespace km {

extern const char* const kReasonInUse;            // another program holds the file
extern const char* const kReasonAccessDenied;
extern const char* const kReasonReadOnly;
extern const char* const kReasonDiskFull;
extern const char* const kReasonNoGameFolder;
extern const char* const kReasonTooLarge;
extern const char* const kReasonPathCharacters;   // a skin name that is no plain file name
extern const char* const kReasonUnmappableName;   // a dropped name the ANSI code page cannot hold

// The reason for a system error code: our own line for the errors a player can act on, else the
// system's own text for the code, else the code's number.
std::string reason_for_error(SystemError error, Disk& disk);

// The reason for a failed step on a game file: a Game folder that is gone (checked on the disk,
// not guessed from the code) comes first.
std::string reason_for_game_file_error(CommandContext& ctx, SystemError error);

// "游戏目录中没有 <name>.zip，请重新导入"
std::string reason_pack_missing(const std::string& skin_name);

// first_line + CR LF + reason
std::string failure_text(const char* first_line, const std::string& reason);

// The install folder is known and its Game folder is there.
bool game_folder_present(CommandContext& ctx);

}  // namespace km
