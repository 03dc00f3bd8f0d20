#include "gamefiles/game_paths.h"

namespace km {

std::string game_folder_path(const std::string& install_folder) { return install_folder + "\\Game\\"; }

std::string mount_list_path(const std::string& install_folder) {
  return game_folder_path(install_folder) + "ClientZips.txt";
}

std::string catalogue_path(const std::string& install_folder) {
  return game_folder_path(install_folder) + "皮肤.ini";
}

std::string imported_pack_path(const std::string& install_folder, const std::string& file_name) {
  return game_folder_path(install_folder) + file_name;
}

std::string pack_path(const std::string& install_folder, const std::string& skin_name) {
  return game_folder_path(install_folder) + skin_name + ".zip";
}

}  // namespace km
