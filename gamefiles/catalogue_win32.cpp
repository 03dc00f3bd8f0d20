#include "gamefiles/catalogue_win32.h"

#include <windows.h>

#include <algorithm>

#include "gamefiles/game_paths.h"

namespace km {

namespace {

// The names of the keys in the section: GetPrivateProfileStringA with no key gives them as
// zero-terminated strings, the list ending in an empty one. A result of size - 2 means the buffer
// was too small.
std::vector<std::string> key_names(const std::string& path) {
  std::vector<char> buffer(64 * 1024);
  while (true) {
    const DWORD got = GetPrivateProfileStringA(catalogue_section().c_str(), nullptr, "", buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path.c_str());
    if (got + 2 < buffer.size()) {
      std::vector<std::string> names;
      for (const char* p = buffer.data(); *p && p < buffer.data() + got; p += names.back().size() + 1)
        names.emplace_back(p);
      return names;
    }
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

bool ProfileCatalogue::present() { return disk_.file_exists(catalogue_path(install_folder_)); }

std::string ProfileCatalogue::read_slot(int slot) {
  std::vector<char> buffer(kCatalogueValueBuffer);
  const DWORD got = GetPrivateProfileStringA(catalogue_section().c_str(), catalogue_key(slot).c_str(), "",
                                             buffer.data(), static_cast<DWORD>(buffer.size()),
                                             catalogue_path(install_folder_).c_str());
  return std::string(buffer.data(), got);
}

std::vector<CatalogueEntry> ProfileCatalogue::entries() {
  std::vector<int> slots;
  for (const std::string& name : key_names(catalogue_path(install_folder_))) {
    if (std::optional<int> slot = slot_of_key(name)) slots.push_back(*slot);
  }
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());

  std::vector<CatalogueEntry> result;
  result.reserve(slots.size());
  for (int slot : slots) {
    std::string value = read_slot(slot);
    if (!value.empty()) result.push_back({slot, std::move(value)});
  }
  return result;
}

bool ProfileCatalogue::write_slot(int slot, const std::string& value) {
  return WritePrivateProfileStringA(catalogue_section().c_str(), catalogue_key(slot).c_str(), value.c_str(),
                                    catalogue_path(install_folder_).c_str()) != 0;
}

// The new catalogue is written whole and then replaces the old one, so a failure part-way leaves
// the old file complete rather than a catalogue that lost its later values.
bool ProfileCatalogue::remove_position(int p) {
  const std::string path = catalogue_path(install_folder_);
  std::vector<std::string> values;
  const std::vector<CatalogueEntry> all = entries();
  for (size_t i = 0; i < all.size(); ++i) {
    if (static_cast<int>(i) + 1 != p) values.push_back(all[i].value);
  }

  bool ok;
  if (!values.empty()) {
    ok = disk_.write_file(path, catalogue_file_text(values));
  } else {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      ok = true;  // nothing to delete
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
      ok = false;  // honoured here: Wine running as root would delete a read-only file
    } else {
      ok = disk_.delete_file(path);
    }
  }
  // The profile functions cache files by path; the file changed behind their back.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  return ok;
}

}  // namespace km
