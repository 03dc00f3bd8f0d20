#pragma once
// The game's archive list, Game\ClientZips.txt: archive file names, one per line, CR LF between
// lines. We handle it as bytes (a zero byte in it is kept, and everything after it) and always
// read and write it whole.
//
// An entry is a whole line equal to the skin name followed by ".zip". A line ends at LF; a CR right
// before the LF belongs to the line break; the first and the last line count like any other. So
// "MySkinA.zip" is not an entry of SkinA, and neither is "SkinA.zip2.zip".
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "gamefiles/disk.h"

namespace km {

// The game's stock list: 34 entries, 667 bytes, CR LF between entries and none after the last.
std::string_view default_mount_list();

// The file's content. A missing file reads as the empty text (status ok); a file that exists but
// cannot be read is unreadable: writing anything back then would wipe the game's list.
FileRead read_mount_list(Disk& disk, const std::string& install_folder);
SystemError write_mount_list(Disk& disk, const std::string& install_folder, const std::string& text);
SystemError write_default_mount_list(Disk& disk, const std::string& install_folder);

bool is_mounted(std::string_view list, std::string_view skin_name);

// The lines of one reading of the list, for testing many skins against it (the start-up load):
// has_entry gives what is_mounted gives, without a pass over the whole list for each skin.
class MountListLines {
 public:
  explicit MountListLines(std::string_view list);  // the list must outlive this object
  bool has_entry(std::string_view skin_name) const;

 private:
  std::unordered_set<std::string_view> lines_;
};
// 1-based position of the first byte of the first entry line of the skin, -1 when there is none.
int find_entry(std::string_view list, std::string_view skin_name);
// The list unchanged when the skin already has an entry line; otherwise the list followed by
// CR LF, the skin name and ".zip" (also into an empty list and after a trailing CR LF).
std::string add_entry(std::string_view list, std::string_view skin_name);
// Every entry line of the skin taken out together with one line break: the break before it, or
// for the first line the break after it. Every other byte stays as it was, and so does every other
// line: after a line that ends in a CR the removed line takes the break after it, since a lone LF
// joined to that CR would make the line shorter (and perhaps an entry).
std::string remove_entry(std::string_view list, std::string_view skin_name);

}  // namespace km
