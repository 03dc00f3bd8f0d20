#pragma once
// Where the game is: the registry value its installer writes, or the folder the user chose once.
#include <windows.h>

#include <string>

#include "commands/commands.h"
#include "gamefiles/disk.h"

namespace km {

// The string value named after the last backslash of key_and_value, in the key before it, under
// root in the given registry view. REG_SZ up to its first zero byte; REG_EXPAND_SZ the same, with
// %NAME% references expanded. Any other type, a missing key or value, or a failed read: "".
std::string read_registry_text(HKEY root, const std::string& key_and_value, REGSAM view);

// HKLM\SOFTWARE\Tencent\LOL\InstallPath in the 32-bit view, where the game's installer writes it.
std::string read_install_folder();

// HKCU\Software\Kestrin-Marquelle\InstallPath: the folder this user chose when the game's own
// value did not lead to a Game folder.
extern const char* const kRememberedInstallFolder;
bool remember_install_folder(const std::string& folder);

// The install folder every command works on: the game's registry value when its Game folder
// exists, else the remembered one when its Game folder exists, else the user is asked to choose
// (again, until the choice holds a Game folder) and the choice is remembered. Empty when the user
// cancelled: then no command works on a guessed folder.
std::string locate_install_folder(Disk& disk, UserMessages& messages);

}  // namespace km
