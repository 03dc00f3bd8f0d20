#include "app/install_folder.h"

#include <vector>

#include "ui/handles.h"

namespace km {

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

}  // namespace km
