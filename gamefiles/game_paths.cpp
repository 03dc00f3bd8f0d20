#include "gamefiles/game_paths.h"

#include "gamefiles/text_rules.h"

namespace km {

std::string game_folder_path(const std::string& install_folder) { return install_folder + "\\Game\\"; }

std::string mount_list_path(const std::string& install_folder) {
  return game_folder_path(install_folder) + "ClientZips.txt";
}

std::string catalogue_path(const std::string& install_folder) {
  return game_folder_path(install_folder) + "皮肤.ini";
}

std::string pack_path(const std::string& install_folder, const std::string& skin_name) {
  return game_folder_path(install_folder) + skin_name + ".zip";
}

bool is_plain_file_name(const std::string& skin_name) {
  if (skin_name.empty() || skin_name == "." || skin_name == "..") return false;
  for (const char* forbidden : {"\\", "/", ":", "*", "?"})
    if (find_text(skin_name, forbidden) != -1) return false;
  return true;
}

std::optional<std::string> install_folder_of_choice(Disk& disk, std::string chosen) {
  // Only a real backslash at the end: a GBK character's second byte may be 0x5C.
  while (!chosen.empty() && find_last(chosen, "\\") == static_cast<int>(chosen.size())) chosen.pop_back();
  if (chosen.empty()) return std::nullopt;
  if (disk.is_folder(chosen + "\\Game")) return chosen;
  const int separator = find_last(chosen, "\\");
  if (separator > 0) {
    const std::string last = chosen.substr(static_cast<size_t>(separator));
    std::string lowered = last;
    for (char& c : lowered) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const std::string parent = chosen.substr(0, static_cast<size_t>(separator) - 1);
    if (lowered == "game" && !parent.empty() && disk.is_folder(chosen)) return parent;
  }
  return std::nullopt;
}

}  // namespace km
