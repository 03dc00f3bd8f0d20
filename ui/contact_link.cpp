#include "ui/contact_link.h"

#include <shellapi.h>

#include <optional>

#include "win32/handles.h"

namespace km {

// The account number is a placeholder: a leading zero makes it no account anyone can hold.
const char kContactLink[] = "tencent://message/?uin=0123456789&Site=&Menu=yes";

namespace {

// The default value of HKEY_CLASSES_ROOT\<key>, environment references expanded for a
// REG_EXPAND_SZ; nothing when the key is missing, the value is missing, empty or not a string.
// Read at whatever length the registry holds.
std::optional<std::string> class_default_value(const std::string& key_name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  UniqueKey key(opened);
  DWORD type = 0, size = 0;
  std::string value;
  LSTATUS status = RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size);
  // The value may grow between the two calls: ask again until the buffer holds it.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.resize(size + 1);
    DWORD got = size;
    status = RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &got);
    if (status == ERROR_SUCCESS) {
      value.resize(got);
      break;
    }
    size = got;
  }
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
  if (value.empty()) return std::nullopt;
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::string expanded(needed, '\0');
    if (ExpandEnvironmentStringsA(value.c_str(), &expanded[0], needed) == 0) return std::nullopt;
    expanded.resize(expanded.find('\0') == std::string::npos ? expanded.size() : expanded.find('\0'));
    value = expanded;
  }
  return value;
}

}  // namespace

void open_contact_link(HWND owner) {
  ShellExecuteA(owner, "open", kContactLink, nullptr, nullptr, SW_SHOWNORMAL);
}

std::string fallback_command_line(const std::string& open_command, const std::string& link) {
  size_t cut = open_command.find("\"%1\"");
  if (cut == std::string::npos) cut = open_command.find("%1");
  // Built at its full length: a long program path and a long link are both kept whole.
  return open_command.substr(0, cut) + " " + link;
}

bool open_link_with_fallback(const std::string& link) {
  if (link.empty()) return false;
  const auto shell_result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOW));
  if (shell_result > 32) return true;

  // The shell knows no program for the link: try the one that opens web pages.
  const std::optional<std::string> html_type = class_default_value(".htm");
  if (!html_type) return false;
  const std::optional<std::string> open_command = class_default_value(*html_type + "\\shell\\open\\command");
  if (!open_command) return false;
  return WinExec(fallback_command_line(*open_command, link).c_str(), SW_SHOW) > 31;  // above 31: started
}

}  // namespace km
