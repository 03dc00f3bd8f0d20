#pragma once
// Every game path is the install folder followed by a fixed tail, by plain concatenation: nothing
// is inserted, removed or normalised, so a trailing backslash on the install folder gives two in a
// row. No command builds a path from an empty install folder: that would name the current drive's
// root.
#include <optional>
#include <string>

#include "gamefiles/disk.h"

namespace km {

std::string game_folder_path(const std::string& install_folder);    // + "\Game\"
std::string mount_list_path(const std::string& install_folder);     // + "\Game\ClientZips.txt"
std::string catalogue_path(const std::string& install_folder);      // + "\Game\皮肤.ini"
// The Game folder followed by the skin name and ".zip".
std::string pack_path(const std::string& install_folder, const std::string& skin_name);


// A skin name that can only name a file directly inside the Game folder: no real backslash (found
// character by character, so a GBK second byte 0x5C does not count), no slash, colon, '*' or '?',
// and not "." or "..". Names read from the catalogue may have been edited by hand; a pack path is
// built only from a name that passes.
bool is_plain_file_name(const std::string& skin_name);

// The install folder a folder chosen by the user stands for: the folder itself when it holds a
// Game folder, its parent when it is the Game folder itself; nullopt otherwise. A trailing
// backslash is dropped first.
std::optional<std::string> install_folder_of_choice(Disk& disk, std::string chosen);

}  // namespace km
