#pragma once
// Where the game is: the registry value its installer writes.
#include <windows.h>

#include <string>

namespace km {

// The string value named after the last backslash of key_and_value, in the key before it, under
// root in the given registry view. REG_SZ up to its first zero byte; REG_EXPAND_SZ the same, with
// %NAME% references expanded. Any other type, a missing key or value, or a failed read: "".
std::string read_registry_text(HKEY root, const std::string& key_and_value, REGSAM view);

// HKLM\SOFTWARE\Tencent\LOL\InstallPath in the 32-bit view, where the game's installer writes it.
std::string read_install_folder();

}  // namespace km
