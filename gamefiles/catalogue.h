#pragma once
// The skin catalogue, Game\皮肤.ini: section "皮肤包", keys "英雄1", "英雄2", ... (decimal, no
// leading zeros), each value one skin name in import order. Other programs may read and edit it
// with the platform's private-profile functions, so we read it as they do; but we change it as a
// whole file, so that a change is one atomic write and nothing we did not mean to touch moves:
// other sections, comments, other keys (`英雄01` is not a slot) and values of any length stay
// byte for byte.
//
// A catalogue edited by hand may have gaps (slots 1, 2 and 4 filled). Nothing we do may lose or
// hide the values after a gap: the entries are every filled slot in slot order, and a rewrite
// numbers them 1..M again.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/disk.h"

namespace km {

struct CatalogueEntry {
  int slot = 0;        // n of the key "英雄n"
  std::string value;   // the whole value, commas included; never empty
};

std::string catalogue_section();                 // "皮肤包"
std::string catalogue_key(int slot);             // "英雄" + decimal slot
// The slot of a key of the form "英雄n" (n >= 1, decimal, no sign, no leading zero); nullopt else.
std::optional<int> slot_of_key(std::string_view key);

// A value the profile functions read back as it was written, bare: no blank at either end, no
// pair of quotes around it, no zero byte or line feed inside. Other programs read the catalogue with those functions, so a skin
// name that fails this would turn into another name for them.
bool reads_back_bare(std::string_view value);

// Every non-empty slot of the file's text, in slot order, each with the value the profile
// functions read for its key (the first such key of the first "皮肤包" section, blanks around it
// and one pair of quotes taken off) but never cut short.
std::vector<CatalogueEntry> catalogue_entries(std::string_view file);
// The file without the entry at 1-based position p of catalogue_entries(): every slot line of
// "皮肤包" is rewritten, the remaining values as 英雄1..英雄M in order where the first slot line
// stood, each written so that it reads back as it is (between double quotes when it needs them); empty slots and unseen duplicates go; everything else stays byte for byte. A p outside
// 1..size removes nothing but still renumbers. With no slot left, a "皮肤包" header with nothing
// under it goes too; the empty text means nothing is left and the file should go.
std::string catalogue_without_position(std::string_view file, int p);
// The file without the skin a list row shows: its value at position row + 1 when it still stands
// there; otherwise (another copy of the program changed the file since the list was loaded) the
// first position holding that name. nullopt when the catalogue no longer holds the name.
std::optional<std::string> catalogue_without_skin(std::string_view file, int row, std::string_view name);
// The file with the value added as the last entry: a new line "英雄n=value" (n one past every
// slot key in the file) after the last slot line of the first "皮肤包" section, or a new section
// at the end when there is none. Everything else stays byte for byte. When n would pass the
// largest slot (nine digits), the slot lines are first rewritten as catalogue_without_position
// does.
std::string catalogue_with_value(std::string_view file, std::string_view value);

// The catalogue file's bytes, read with full sharing; a file over the size limit is unreadable.
struct CatalogueFile {
  ReadStatus status = ReadStatus::missing;
  SystemError error = system_error::kNone;
  std::string bytes;
};
CatalogueFile read_catalogue(Disk& disk, const std::string& install_folder);
// Writes the text whole and atomically; the empty text deletes the file (a missing file is fine).
// Both honour the read-only attribute.
SystemError write_catalogue(Disk& disk, const std::string& install_folder, const std::string& text);

}  // namespace km
