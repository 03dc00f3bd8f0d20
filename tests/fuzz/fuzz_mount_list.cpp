// The mount-list operations against whole-line split and join written from the rules alone: a
// line ends at LF, a CR right before the LF belongs to the break, and an entry of a skin is a line
// equal to the skin name followed by ".zip". The list is bytes: zero bytes are ordinary bytes.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "gamefiles/mount_list.h"

namespace {

struct Line {
  size_t start = 0;       // of the line's text
  std::string text;
  std::string line_break; // "\n", "\r\n", or none for the last line
};

std::vector<Line> split_lines(const std::string& list) {
  std::vector<Line> lines;
  size_t start = 0;
  for (size_t lf; (lf = list.find('\n', start)) != std::string::npos; start = lf + 1) {
    const size_t end = lf > start && list[lf - 1] == '\r' ? lf - 1 : lf;
    lines.push_back({start, list.substr(start, end - start), list.substr(end, lf + 1 - end)});
  }
  lines.push_back({start, list.substr(start), ""});
  return lines;
}

std::string join_lines(const std::vector<Line>& lines) {
  std::string list;
  for (const Line& line : lines) list += line.text + line.line_break;
  return list;
}

int reference_find(const std::string& list, const std::string& entry) {
  for (const Line& line : split_lines(list))
    if (line.text == entry) return static_cast<int>(line.start) + 1;
  return -1;
}

// One entry line at a time: it goes with the break before it; as the first line, or after a line
// that ends in a CR and not as the last line, with the break after it. Then the list is read
// again.
std::string reference_remove(std::string list, const std::string& entry) {
  while (true) {
    std::vector<Line> lines = split_lines(list);
    size_t i = 0;
    while (i < lines.size() && lines[i].text != entry) ++i;
    if (i == lines.size()) return list;
    const bool last = i + 1 == lines.size();
    if (i == 0) {
      lines.erase(lines.begin());
      if (lines.empty()) return {};
    } else if (!last && !lines[i - 1].text.empty() && lines[i - 1].text.back() == '\r') {
      lines.erase(lines.begin() + i);
    } else {
      lines[i - 1].line_break = lines[i].line_break;
      lines.erase(lines.begin() + i);
    }
    list = join_lines(lines);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  km::fuzz::Input input(data, size);
  // The first byte either gives the length of the skin name, or (high bit set) picks a line of
  // the list and takes it, less its last four bytes, as the name: so entries are found often.
  const unsigned mode = input.byte();
  std::string name = (mode & 0x80) ? std::string() : input.bytes(mode % 32);
  const std::string list = input.rest();
  if (mode & 0x80) {
    const std::vector<Line> lines = split_lines(list);
    const std::string& line = lines[(mode & 0x7F) % lines.size()].text;
    name = line.substr(0, line.size() >= 4 ? line.size() - 4 : 0);
  }
  const std::string entry = name + ".zip";

  KM_FUZZ_CHECK(join_lines(split_lines(list)) == list);

  const int position = km::find_entry(list, name);
  KM_FUZZ_CHECK(position == reference_find(list, entry));
  KM_FUZZ_CHECK(km::is_mounted(list, name) == (position != -1));
  KM_FUZZ_CHECK(km::MountListLines(list).has_entry(name) == (position != -1));

  const std::string added = km::add_entry(list, name);
  KM_FUZZ_CHECK(added == (position != -1 ? list : list + "\r\n" + entry));

  const std::string removed = km::remove_entry(list, name);
  KM_FUZZ_CHECK(removed == reference_remove(list, entry));
  KM_FUZZ_CHECK(!km::is_mounted(removed, name));
  // Only entry lines and one break each go: what is left is the list with bytes taken out, and
  // its lines are the other lines, in order, byte for byte.
  size_t kept_bytes = 0;
  for (size_t at = 0; at < list.size() && kept_bytes < removed.size(); ++at)
    if (list[at] == removed[kept_bytes]) ++kept_bytes;
  KM_FUZZ_CHECK(kept_bytes == removed.size());
  std::vector<std::string> kept, left;
  size_t entries = 0;
  for (const Line& line : split_lines(list)) {
    if (line.text == entry) ++entries; else kept.push_back(line.text);
  }
  for (const Line& line : split_lines(removed)) left.push_back(line.text);
  KM_FUZZ_CHECK(left == kept || (kept.empty() && removed.empty()));
  KM_FUZZ_CHECK(removed.size() + entries * entry.size() <= list.size());
  if (position == -1) KM_FUZZ_CHECK(removed == list);

  // A name holding an LF can never be one line; for every other name, mounting and then
  // unmounting a skin that was not mounted gives back the list byte for byte.
  if (position == -1 && name.find('\n') == std::string::npos) {
    KM_FUZZ_CHECK(km::is_mounted(added, name));
    KM_FUZZ_CHECK(km::remove_entry(added, name) == list);
  }
  return 0;
}
