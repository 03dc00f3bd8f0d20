#pragma once
// Every game path is the install folder followed by a fixed tail, by plain concatenation: nothing
// is inserted, removed or normalised, so a trailing backslash on the install folder gives two in a
// row, and an empty install folder gives paths that start at the current drive's root.
#include <string>

namespace km {

std::string game_folder_path(const std::string& install_folder);    // + "\Game\"
std::string mount_list_path(const std::string& install_folder);     // + "\Game\ClientZips.txt"
std::string catalogue_path(const std::string& install_folder);      // + "\Game\皮肤.ini"
// The Game folder followed by a dropped file's name, unchanged.
std::string imported_pack_path(const std::string& install_folder, const std::string& file_name);
// The Game folder followed by the skin name and ".zip".
std::string pack_path(const std::string& install_folder, const std::string& skin_name);

}  // namespace km
