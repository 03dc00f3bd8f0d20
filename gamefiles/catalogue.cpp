#include "gamefiles/catalogue.h"

#include <algorithm>

#include "gamefiles/game_paths.h"
#include "gamefiles/text_rules.h"

namespace km {

namespace {

const char kKeyPrefix[] = "英雄";
// Slot numbers have at most nine digits, so that every one fits an int.
constexpr int kLargestSlot = 999999999;

// What the profile functions count as blank around names and values. None of these bytes can be
// the second byte of a GBK character, so trimming bytes never cuts a character.
bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// One line of the file as the profile functions see it.
struct IniLine {
  std::string_view whole;      // the line with its line break
  bool has_break = false;      // ends with LF
  bool header = false;         // "[name]"
  std::string_view name;       // the section's name, or the key
  bool has_value = false;      // the key line holds "="
  std::string_view value;      // blanks around it taken off
  int section = -1;            // index of the section it belongs to (-1: before any header)
  bool in_catalogue = false;   // inside a "皮肤包" section
  bool in_first_catalogue = false;
  std::optional<int> slot;     // a slot line: a key "英雄n" inside "皮肤包"
};

// The last "]" of the line, found character by character: a GBK character's second byte may be
// 0x5D, and it is no bracket.
size_t last_closing_bracket(std::string_view line) {
  size_t found = std::string_view::npos;
  for (size_t at = 0; at < line.size();) {
    if (line[at] == ']') found = at;
    at += static_cast<unsigned char>(line[at]) >= 0x81 && static_cast<unsigned char>(line[at]) <= 0xFE ? 2 : 1;
  }
  return found;
}

std::vector<IniLine> parse_lines(std::string_view file) {
  std::vector<IniLine> lines;
  lines.reserve(static_cast<size_t>(std::count(file.begin(), file.end(), '\n')) + 1);
  const std::string section_name = catalogue_section();
  int section = -1;
  int first_catalogue = -1;
  bool in_catalogue = false;
  size_t start = 0;
  while (start < file.size()) {
    const size_t lf = file.find('\n', start);
    const size_t end = lf == std::string_view::npos ? file.size() : lf + 1;
    IniLine line;
    line.whole = file.substr(start, end - start);
    line.has_break = lf != std::string_view::npos;
    start = end;

    const std::string_view text = trim(line.whole);
    if (!text.empty() && text.front() == '[') {
      const size_t close = last_closing_bracket(text);
      if (close != std::string_view::npos) {
        line.header = true;
        line.name = trim(text.substr(1, close - 1));
        ++section;
        in_catalogue = line.name == section_name;
        if (in_catalogue && first_catalogue == -1) first_catalogue = section;
      }
    }
    if (!line.header && !text.empty()) {
      const size_t equals = text.find('=');
      line.name = trim(text.substr(0, equals));
      if (equals != std::string_view::npos) {
        line.has_value = true;
        line.value = trim(text.substr(equals + 1));
      }
      if (in_catalogue) line.slot = slot_of_key(line.name);
    }
    line.section = section;
    line.in_catalogue = in_catalogue;
    line.in_first_catalogue = in_catalogue && section == first_catalogue;
    lines.push_back(line);
  }
  return lines;
}

bool has_quote_pair(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

// The value as the profile functions hand it out: up to a zero byte, one pair of quotes off.
std::string read_value(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  if (has_quote_pair(value)) value = value.substr(1, value.size() - 2);
  return std::string(value);
}

// A value read from between quotes may have blanks or another pair of quotes at its ends, which
// the profile functions would take off when reading it back; written between double quotes, it
// reads back as it is.
void append_slot_line(std::string& text, int slot, std::string_view value) {
  text += kKeyPrefix;
  text += std::to_string(slot);
  text += '=';
  const bool quoted = !value.empty() && (is_blank(value.front()) || is_blank(value.back()) || has_quote_pair(value));
  if (quoted) text += '"';
  text += value;
  if (quoted) text += '"';
  text += "\r\n";
}

bool is_blank_text(std::string_view text) { return trim(text).empty(); }

// The profile functions look in the first section of that name only, and take the first key.
std::vector<CatalogueEntry> entries_of(const std::vector<IniLine>& lines) {
  std::vector<const IniLine*> slot_lines;
  for (const IniLine& line : lines)
    if (line.slot && line.in_first_catalogue) slot_lines.push_back(&line);
  std::stable_sort(slot_lines.begin(), slot_lines.end(),
                   [](const IniLine* a, const IniLine* b) { return *a->slot < *b->slot; });
  std::vector<CatalogueEntry> entries;
  entries.reserve(slot_lines.size());
  for (size_t i = 0; i < slot_lines.size(); ++i) {
    const IniLine& line = *slot_lines[i];
    if (i > 0 && *slot_lines[i - 1]->slot == *line.slot) continue;  // an unseen duplicate
    std::string value = line.has_value ? read_value(line.value) : std::string();
    if (!value.empty()) entries.push_back({*line.slot, std::move(value)});
  }
  return entries;
}

}  // namespace

std::string catalogue_section() { return "皮肤包"; }

std::string catalogue_key(int slot) { return kKeyPrefix + number_to_text(slot); }

std::optional<int> slot_of_key(std::string_view key) {
  const std::string_view prefix = kKeyPrefix;
  if (key.size() <= prefix.size() || key.substr(0, prefix.size()) != prefix) return std::nullopt;
  std::string_view digits = key.substr(prefix.size());
  // Only the form number_to_text writes: "英雄01" is another key, not slot 1.
  if (digits.size() > number_to_text(kLargestSlot).size() || digits[0] == '0') return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool reads_back_bare(std::string_view value) {
  // A zero byte ends the value for the profile functions, and a line feed ends its line.
  if (value.find('\0') != std::string_view::npos || value.find('\n') != std::string_view::npos) return false;
  return value.empty() || (!is_blank(value.front()) && !is_blank(value.back()) && !has_quote_pair(value));
}

std::vector<CatalogueEntry> catalogue_entries(std::string_view file) { return entries_of(parse_lines(file)); }

namespace {

std::string rewrite_without(std::string_view file, const std::vector<IniLine>& lines,
                            const std::vector<CatalogueEntry>& entries, int p) {
  std::string block;
  int next = 1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (static_cast<int>(i) + 1 != p) append_slot_line(block, next++, entries[i].value);
  const bool none_left = block.empty();

  std::string result;
  result.reserve(file.size() + 32);
  bool placed = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const IniLine& line = lines[i];
    if (line.slot) {
      if (!placed) result += block;
      placed = true;
      continue;
    }
    if (none_left && line.header && line.in_catalogue) {
      // A header whose section holds nothing but slot lines and blank lines goes with them.
      bool holds_more = false;
      for (size_t j = i + 1; j < lines.size() && !lines[j].header; ++j)
        holds_more |= !lines[j].slot && !is_blank_text(lines[j].whole);
      if (!holds_more) continue;
    }
    result += line.whole;
  }
  if (none_left && is_blank_text(result)) return {};
  return result;
}

}  // namespace

std::string catalogue_without_position(std::string_view file, int p) {
  const std::vector<IniLine> lines = parse_lines(file);
  return rewrite_without(file, lines, entries_of(lines), p);
}

std::optional<std::string> catalogue_without_skin(std::string_view file, int row, std::string_view name) {
  const std::vector<IniLine> lines = parse_lines(file);
  const std::vector<CatalogueEntry> entries = entries_of(lines);
  int position = 0;
  if (row >= 0 && row < static_cast<int>(entries.size()) && entries[row].value == name) {
    position = row + 1;
  } else {
    for (size_t i = 0; i < entries.size() && position == 0; ++i)
      if (entries[i].value == name) position = static_cast<int>(i) + 1;
  }
  if (position == 0) return std::nullopt;
  return rewrite_without(file, lines, entries, position);
}

std::string catalogue_with_value(std::string_view file, std::string_view value) {
  const std::vector<IniLine> lines = parse_lines(file);
  int last_slot = 0;
  int insert_after = -1;  // the line the new one follows
  for (size_t i = 0; i < lines.size(); ++i) {
    const IniLine& line = lines[i];
    if (line.slot) last_slot = std::max(last_slot, *line.slot);
    if (line.in_first_catalogue && (line.slot || (line.header && insert_after == -1)))
      insert_after = static_cast<int>(i);
  }
  // No key past the largest slot reads as a slot: number the slots 1..M again first.
  if (last_slot == kLargestSlot) return catalogue_with_value(catalogue_without_position(file, 0), value);
  std::string new_line;
  append_slot_line(new_line, last_slot + 1, value);

  std::string result;
  result.reserve(file.size() + new_line.size() + 16);
  if (insert_after == -1) {
    result = file;
    if (!result.empty() && result.back() != '\n') result += "\r\n";
    result += "[" + catalogue_section() + "]\r\n";
    result += new_line;
    return result;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    result += lines[i].whole;
    if (static_cast<int>(i) == insert_after) {
      if (!lines[i].has_break) result += "\r\n";
      result += new_line;
    }
  }
  return result;
}

CatalogueFile read_catalogue(Disk& disk, const std::string& install_folder) {
  FileRead read = disk.read_file(catalogue_path(install_folder));
  return {read.status, read.error, std::move(read.bytes)};
}

SystemError write_catalogue(Disk& disk, const std::string& install_folder, const std::string& text) {
  const std::string path = catalogue_path(install_folder);
  if (!text.empty()) return disk.write_file(path, text);
  const SystemError error = disk.delete_file(path);
  return error == system_error::kFileNotFound ? system_error::kNone : error;
}

}  // namespace km
