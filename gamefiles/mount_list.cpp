#include "gamefiles/mount_list.h"

#include "gamefiles/game_paths.h"

namespace km {

namespace {

constexpr std::string_view kDefaultMountList =
    "Aatrox.zip\r\n"
    "Azir.zip\r\n"
    "CharacterAnimations.zip\r\n"
    "CharacterAnimations1.zip\r\n"
    "CharacterAnimations2.zip\r\n"
    "CharacterAnimations3.zip\r\n"
    "CharacterAnimations4.zip\r\n"
    "Characters.zip\r\n"
    "CharacterSkins.zip\r\n"
    "CharacterSkins1.zip\r\n"
    "CharacterTextures.zip\r\n"
    "CharacterTextures1.zip\r\n"
    "CharacterTextures2.zip\r\n"
    "CharacterTextures3.zip\r\n"
    "CharacterTextures4.zip\r\n"
    "CharacterTextures5.zip\r\n"
    "CharacterTextures6.zip\r\n"
    "CharacterTextures7.zip\r\n"
    "CharacterTextures8.zip\r\n"
    "CharacterTextures9.zip\r\n"
    "Datas.zip\r\n"
    "Datas1.zip\r\n"
    "Datas2.zip\r\n"
    "Datas3.zip\r\n"
    "Jinx.zip\r\n"
    "Loading.zip\r\n"
    "Lucian.zip\r\n"
    "Particles.zip\r\n"
    "ParticleTextrues.zip\r\n"
    "ParticleTextrues1.zip\r\n"
    "ParticleTextrues2.zip\r\n"
    "ParticleTextrues3.zip\r\n"
    "ParticleTextrues4.zip\r\n"
    "Yasuo.zip";

// One line of the list: its bytes, and the break that follows it ("\n", "\r\n", or none for the
// last line). A CR belongs to the break only when an LF follows it.
struct Line {
  std::string_view text;
  std::string_view line_break;
  size_t start = 0;
};

// Calls visit(line) for each line in order until it returns false.
template <typename Visit>
void for_each_line(std::string_view list, Visit visit) {
  size_t start = 0;
  while (true) {
    const size_t lf = list.find('\n', start);
    if (lf == std::string_view::npos) {
      visit(Line{list.substr(start), {}, start});
      return;
    }
    size_t end = lf;
    if (end > start && list[end - 1] == '\r') --end;
    if (!visit(Line{list.substr(start, end - start), list.substr(end, lf + 1 - end), start})) return;
    start = lf + 1;
  }
}

bool is_entry_line(std::string_view line, std::string_view skin_name) {
  return line.size() == skin_name.size() + 4 && line.substr(0, skin_name.size()) == skin_name &&
         line.substr(skin_name.size()) == ".zip";
}

}  // namespace

std::string_view default_mount_list() { return kDefaultMountList; }

FileRead read_mount_list(Disk& disk, const std::string& install_folder) {
  FileRead read = disk.read_file(mount_list_path(install_folder));
  if (read.status == ReadStatus::missing) return {ReadStatus::ok, system_error::kNone, {}};
  return read;
}

SystemError write_mount_list(Disk& disk, const std::string& install_folder, const std::string& text) {
  return disk.write_file(mount_list_path(install_folder), text);
}

SystemError write_default_mount_list(Disk& disk, const std::string& install_folder) {
  return write_mount_list(disk, install_folder, std::string(kDefaultMountList));
}

int find_entry(std::string_view list, std::string_view skin_name) {
  int position = -1;
  for_each_line(list, [&](const Line& line) {
    if (is_entry_line(line.text, skin_name)) position = static_cast<int>(line.start + 1);
    return position == -1;
  });
  return position;
}

bool is_mounted(std::string_view list, std::string_view skin_name) {
  return find_entry(list, skin_name) != -1;
}

MountListLines::MountListLines(std::string_view list) {
  for_each_line(list, [this](const Line& line) {
    lines_.insert(line.text);
    return true;
  });
}

bool MountListLines::has_entry(std::string_view skin_name) const {
  std::string entry(skin_name);
  entry += ".zip";
  return lines_.count(entry) > 0;
}

std::string add_entry(std::string_view list, std::string_view skin_name) {
  std::string result(list);
  if (is_mounted(list, skin_name)) return result;
  result += "\r\n";
  result += skin_name;
  result += ".zip";
  return result;
}

std::string remove_entry(std::string_view list, std::string_view skin_name) {
  std::string result;
  result.reserve(list.size());
  // A kept line carries the break before it, except when every line before it went: a removed
  // first line took the break after it along. A kept line that ends in a CR is followed by its
  // own break: a lone LF after it would make that CR part of the break and change the line, and
  // "SkinA.zip" CR, CR LF, "SkinA.zip" LF would come out as "SkinA.zip" CR LF, an entry again.
  std::optional<Line> last_kept;
  std::string_view break_before;
  for_each_line(list, [&](const Line& line) {
    if (!is_entry_line(line.text, skin_name)) {
      if (last_kept) {
        const bool ends_in_cr = !last_kept->text.empty() && last_kept->text.back() == '\r';
        result += ends_in_cr ? last_kept->line_break : break_before;
      }
      result += line.text;
      last_kept = line;
    }
    break_before = line.line_break;
    return true;
  });
  return result;
}

}  // namespace km
