#include "app/install_folder.h"

#include <vector>

#include "gamefiles/game_paths.h"
#include "ui/folder_picker.h"
#include "win32/handles.h"

namespace km {

const char* const kRememberedInstallFolder = "Software\\Kestrin-Marquelle\\InstallPath";

std::string read_registry_text(HKEY root, const std::string& key_and_value, REGSAM view) {
  const size_t split = key_and_value.rfind('\\');
  const std::string key_path = split == std::string::npos ? std::string() : key_and_value.substr(0, split);
  const std::string value_name = key_and_value.substr(split == std::string::npos ? 0 : split + 1);

  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key_path.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return {};
  UniqueKey key(opened);

  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};

  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &size) != ERROR_SUCCESS)
    return {};
  std::string text(data.data(), std::min<size_t>(size, data.size()));
  text = text.substr(0, text.find('\0'));
  if (type == REG_SZ) return text;

  // Not expanded by RegQueryValueExA: ask again until the buffer holds the whole expansion.
  std::vector<char> expanded(text.size() + 256);
  while (true) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (needed == 0) return {};
    if (needed <= expanded.size()) return std::string(expanded.data());
    expanded.resize(needed);
  }
}

std::string read_install_folder() {
  return read_registry_text(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\LOL\\InstallPath", KEY_WOW64_32KEY);
}

bool remember_install_folder(const std::string& folder) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kestrin-Marquelle", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &created, nullptr) != ERROR_SUCCESS)
    return false;
  UniqueKey key(created);
  return RegSetValueExA(key.get(), "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                        static_cast<DWORD>(folder.size() + 1)) == ERROR_SUCCESS;
}

std::string locate_install_folder(Disk& disk, UserMessages& messages) {
  auto holds_game_folder = [&](const std::string& folder) {
    return !folder.empty() && disk.is_folder(folder + "\\Game");
  };
  const std::string registered = read_install_folder();
  if (holds_game_folder(registered)) return registered;
  const std::string remembered = read_registry_text(HKEY_CURRENT_USER, kRememberedInstallFolder, 0);
  if (holds_game_folder(remembered)) return remembered;

  const std::string question = "未找到英雄联盟的安装目录，请选择游戏安装目录（包含 Game 文件夹的目录）";
  while (true) {
    messages.show(question, MessageKind::failure);
    const std::optional<std::string> chosen = pick_folder("请选择游戏安装目录（包含 Game 文件夹的目录）");
    if (!chosen) return {};
    if (const std::optional<std::string> folder = install_folder_of_choice(disk, *chosen)) {
      remember_install_folder(*folder);
      return *folder;
    }
  }
}

}  // namespace km
