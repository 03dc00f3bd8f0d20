// Import's name rules against a reference written from the rules alone. The file name is
// everything after the last real backslash, found by a character-step walk (a lead byte 0x81 to
// 0xFE takes the byte after it along, so a GBK second byte 0x5C is no backslash); the skin name is
// the file name with every ".zip" taken out, left to right, without overlap; a name that can be
// stored has no real backslash, '/', ':', '*' or '?' and is not "." or ".."; and a name that reads
// back bare comes back from the catalogue as it was written.
#include <string>
#include <string_view>
#include <vector>

#include "commands/import.h"
#include "fuzz_support.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/game_paths.h"

namespace {

bool is_lead(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

// The characters of a text, each one or two bytes (a lead byte at the very end stands alone).
std::vector<std::string_view> characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (size_t at = 0; at < text.size();) {
    const size_t width = is_lead(text[at]) && at + 1 < text.size() ? 2 : 1;
    out.push_back(text.substr(at, width));
    at += width;
  }
  return out;
}

std::string reference_file_name(std::string_view path) {
  std::string name;
  for (std::string_view c : characters(path)) {
    if (c == "\\") name.clear();
    else name += c;
  }
  return name;
}

std::string reference_skin_name(std::string_view file_name) {
  std::string skin;
  for (size_t at = 0; at < file_name.size();) {
    if (file_name.substr(at, 4) == ".zip") {
      at += 4;
      continue;
    }
    const size_t width = is_lead(file_name[at]) ? 2 : 1;
    skin += file_name.substr(at, width);
    at += width;
  }
  return skin;
}

bool reference_plain(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (std::string_view c : characters(name))
    if (c == "\\" || c == "/" || c == ":" || c == "*" || c == "?") return false;
  return true;
}

void check_name(const std::string& name) {
  KM_FUZZ_CHECK(km::is_plain_file_name(name) == reference_plain(name));
  if (!name.empty() && km::reads_back_bare(name)) {
    const std::vector<km::CatalogueEntry> entries = km::catalogue_entries(km::catalogue_with_value("", name));
    KM_FUZZ_CHECK(entries.size() == 1);
    KM_FUZZ_CHECK(entries[0].slot == 1);
    KM_FUZZ_CHECK(entries[0].value == name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = km::fuzz::Input(data, size).rest();

  const std::string file_name = km::dropped_file_name(path);
  KM_FUZZ_CHECK(file_name == reference_file_name(path));
  const std::string skin_name = km::skin_name_of(file_name);
  KM_FUZZ_CHECK(skin_name == reference_skin_name(file_name));

  check_name(path);
  check_name(file_name);
  check_name(skin_name);

  // A name that can be stored names its pack directly inside the Game folder.
  if (km::is_plain_file_name(skin_name)) {
    const std::string stored = skin_name + ".zip";
    KM_FUZZ_CHECK(km::dropped_file_name(km::pack_path("C:\\Games\\LoL", skin_name)) == stored);
  }
  return 0;
}
