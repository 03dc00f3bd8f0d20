#pragma once
// The skin catalogue, Game\皮肤.ini: section "皮肤包", keys "英雄1", "英雄2", ... (decimal, no
// leading zeros), each value one skin name in import order. It goes through the platform's
// private-profile functions (ProfileCatalogue, catalogue_win32.h); tests use a fake.
//
// A catalogue edited by hand may have gaps (slots 1, 2 and 4 filled). Nothing we do may lose or
// hide the values after a gap, so entries() lists every filled slot, and a rewrite compacts them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km {

// Read slot values come back cut to this many bytes minus one, as the profile functions do.
constexpr int kCatalogueValueBuffer = 10240;

struct CatalogueEntry {
  int slot = 0;        // n of the key "英雄n"
  std::string value;   // the whole value, commas included; never empty
};

class Catalogue {
 public:
  virtual ~Catalogue() = default;
  // The file (or a folder of that name) exists.
  virtual bool present() = 0;
  // The empty text when the file, the section or the key is missing.
  virtual std::string read_slot(int slot) = 0;
  // Every non-empty slot, in slot order, values after a gap included.
  virtual std::vector<CatalogueEntry> entries() = 0;
  virtual bool write_slot(int slot, const std::string& value) = 0;
  // Rewrites the catalogue without the entry at 1-based position p of entries(): the remaining
  // values go to slots 1..M in order, in one atomic file write; with M = 0 the file is deleted.
  // A p outside 1..size still rewrites (compacts) the file. False when anything failed; the old
  // file then stays as it was.
  virtual bool remove_position(int p) = 0;
};

std::string catalogue_section();                 // "皮肤包"
std::string catalogue_key(int slot);             // "英雄" + decimal slot
// The slot of a key of the form "英雄n" (n >= 1, decimal, no sign, no leading zero); nullopt else.
std::optional<int> slot_of_key(std::string_view key);
// The smallest slot whose value is empty.
int first_free_slot(Catalogue& catalogue);
// One past the highest filled slot: where a new value lands after every existing one.
int slot_after_last(const std::vector<CatalogueEntry>& entries);
// The whole file as WritePrivateProfileStringA would leave it after writing the values into slots
// 1..M of a new file: "[皮肤包]\r\n英雄1=...\r\n...". Empty for no values.
std::string catalogue_file_text(const std::vector<std::string>& values);

}  // namespace km
