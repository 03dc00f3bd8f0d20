#include "gamefiles/catalogue_win32.h"

#include <windows.h>

#include <algorithm>

#include "gamefiles/game_paths.h"

namespace km {

namespace {

// The section's lines as "key=value" texts, in file order, in one call: a call per key would make
// the start-up load quadratic, as the profile functions search the section for every key. The buffer
// was too small when the result is its size less 2.
std::vector<std::string> section_lines(const std::string& path) {
  std::vector<char> buffer(256 * 1024);
  while (true) {
    const DWORD got = GetPrivateProfileSectionA(catalogue_section().c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
    if (got + 2 < buffer.size()) {
      std::vector<std::string> lines;
      for (const char* p = buffer.data(); p < buffer.data() + got && *p; p += lines.back().size() + 1)
        lines.emplace_back(p);
      return lines;
    }
    buffer.resize(buffer.size() * 4);
  }
}

// A value as the section gives it is what read_slot gives, unless read_slot would treat it
// differently: it strips a pair of quotes around the value and cuts long values.
bool read_slot_would_change(std::string_view value) {
  return (!value.empty() && (value.front() == '"' || value.front() == '\'')) ||
         value.size() >= static_cast<size_t>(kCatalogueValueBuffer) / 2;
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
  std::vector<CatalogueEntry> all;
  for (const std::string& line : section_lines(catalogue_path(install_folder_))) {
    const size_t equals = line.find('=');
    const std::optional<int> slot = slot_of_key(std::string_view(line).substr(0, equals));
    if (!slot) continue;
    // A key without "=" has no value: it reads empty.
    all.push_back({*slot, equals == std::string::npos ? std::string() : line.substr(equals + 1)});
  }
  // Slot order; a key written twice counts once, with the value read_slot sees: the first.
  std::stable_sort(all.begin(), all.end(),
                   [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.slot < b.slot; });
  all.erase(std::unique(all.begin(), all.end(),
                        [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.slot == b.slot; }),
            all.end());

  std::vector<CatalogueEntry> result;
  result.reserve(all.size());
  for (CatalogueEntry& entry : all) {
    if (read_slot_would_change(entry.value)) entry.value = read_slot(entry.slot);
    if (!entry.value.empty()) result.push_back(std::move(entry));
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
