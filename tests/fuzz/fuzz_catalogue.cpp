// The catalogue's file text against a plain reading written from the rules alone: lines end at
// LF; "[name]" opens a section; in the first section named 皮肤包 the first key "英雄n" (n >= 1, at
// most nine digits, no leading zero) of each slot holds its value: blanks around it, everything
// from a zero byte on and one pair of quotes taken off. The values listed are the non-empty slots
// in slot order. (This file stays ASCII: GBK bytes are written as escapes.)
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "gamefiles/catalogue.h"

namespace {

const std::string kSection = "\xC6\xA4\xB7\xF4\xB0\xFC";  // 皮肤包
const std::string kKeyPrefix = "\xD3\xA2\xD0\xDB";         // 英雄

bool is_blank(char c) { return std::string_view(" \t\n\v\f\r\x1a").find(c) != std::string_view::npos; }

std::string trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

bool is_lead(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

struct Line {
  std::string whole;  // with its LF
  bool blank = false;
  bool header = false;
  bool catalogue_header = false;
  bool slot = false;  // a key "英雄n" inside a 皮肤包 section
  int slot_number = 0;
  int section = -1;
  bool in_first_catalogue = false;
  std::string value;  // as read, for slot lines
};

int slot_number(const std::string& key) {
  if (key.compare(0, kKeyPrefix.size(), kKeyPrefix) != 0) return 0;
  const std::string digits = key.substr(kKeyPrefix.size());
  if (digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
  for (char c : digits)
    if (c < '0' || c > '9') return 0;
  return std::stoi(digits);
}

std::vector<Line> read_lines(const std::string& file) {
  std::vector<Line> lines;
  int section = -1, first_catalogue = -1;
  bool in_catalogue = false;
  for (size_t start = 0; start < file.size();) {
    const size_t lf = file.find('\n', start);
    const size_t end = lf == std::string::npos ? file.size() : lf + 1;
    Line line;
    line.whole = file.substr(start, end - start);
    start = end;
    const std::string text = trim(line.whole);
    line.blank = text.empty();
    if (!text.empty() && text[0] == '[') {
      // The name runs to the last "]" that is a character of its own, not a GBK second byte.
      size_t close = std::string::npos;
      for (size_t at = 0; at < text.size(); at += is_lead(text[at]) ? 2 : 1)
        if (text[at] == ']') close = at;
      if (close != std::string::npos) {
        line.header = true;
        ++section;
        in_catalogue = trim(text.substr(1, close - 1)) == kSection;
        line.catalogue_header = in_catalogue;
        if (in_catalogue && first_catalogue == -1) first_catalogue = section;
      }
    }
    if (!line.header && !text.empty() && in_catalogue) {
      const size_t equals = text.find('=');
      line.slot_number = slot_number(trim(text.substr(0, equals)));
      line.slot = line.slot_number != 0;
      if (line.slot && equals != std::string::npos) {
        std::string value = trim(text.substr(equals + 1));
        value = value.substr(0, value.find('\0'));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
          value = value.substr(1, value.size() - 2);
        line.value = value;
      }
    }
    line.section = section;
    line.in_first_catalogue = in_catalogue && section == first_catalogue;
    lines.push_back(line);
  }
  return lines;
}

std::map<int, std::string> reference_entries(const std::string& file) {
  std::map<int, std::string> slots;
  for (const Line& line : read_lines(file))
    if (line.slot && line.in_first_catalogue) slots.emplace(line.slot_number, line.value);
  std::map<int, std::string> entries;
  for (const auto& [slot, value] : slots)
    if (!value.empty()) entries.emplace(slot, value);
  return entries;
}

std::vector<std::string> values_of(const std::map<int, std::string>& entries) {
  std::vector<std::string> values;
  for (const auto& entry : entries) values.push_back(entry.second);
  return values;
}

// A value that can be written at all: one line, and nothing cut at a zero byte.
bool can_be_written(const std::string& value) {
  return !value.empty() && value.find_first_of(std::string("\n\0", 2)) == std::string::npos;
}

void check_entries(const std::string& file) {
  std::map<int, std::string> listed;
  for (const km::CatalogueEntry& entry : km::catalogue_entries(file)) {
    KM_FUZZ_CHECK(!listed.count(entry.slot));
    listed.emplace(entry.slot, entry.value);
  }
  KM_FUZZ_CHECK(listed == reference_entries(file));
}

void check_without_position(const std::string& file, int position) {
  std::vector<std::string> expected = values_of(reference_entries(file));
  if (position >= 1 && position <= static_cast<int>(expected.size()))
    expected.erase(expected.begin() + (position - 1));
  const std::string result = km::catalogue_without_position(file, position);

  // The values left, in order, as slots 1..M.
  const std::map<int, std::string> entries = reference_entries(result);
  KM_FUZZ_CHECK(values_of(entries) == expected);
  int next = 1;
  for (const auto& entry : entries) KM_FUZZ_CHECK(entry.first == next++);

  // Every line that is not a slot line stays, byte for byte, in order; with no value left, a
  // 皮肤包 header with nothing but slot lines and blank lines under it goes too. The slot lines of
  // the result stand together.
  const std::vector<Line> lines = read_lines(file);
  std::vector<std::string> kept;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].slot) continue;
    if (expected.empty() && lines[i].catalogue_header) {
      bool holds_more = false;
      for (size_t j = i + 1; j < lines.size() && !lines[j].header; ++j)
        holds_more |= !lines[j].slot && !lines[j].blank;
      if (!holds_more) continue;
    }
    kept.push_back(lines[i].whole);
  }
  std::vector<std::string> left;
  size_t slot_lines = 0, first_slot_line = 0;
  const std::vector<Line> result_lines = read_lines(result);
  for (size_t i = 0; i < result_lines.size(); ++i) {
    if (!result_lines[i].slot) {
      left.push_back(result_lines[i].whole);
    } else if (slot_lines++ == 0) {
      first_slot_line = i;
    }
  }
  KM_FUZZ_CHECK(slot_lines == expected.size());
  for (size_t i = first_slot_line; i < first_slot_line + slot_lines; ++i) KM_FUZZ_CHECK(result_lines[i].slot);
  if (result.empty()) {
    for (const std::string& line : kept) KM_FUZZ_CHECK(trim(line).empty());
  } else {
    KM_FUZZ_CHECK(left == kept);
  }
}

void check_with_value(const std::string& file, const std::string& value) {
  const std::string result = km::catalogue_with_value(file, value);
  // Past the largest slot no new key could follow: then the slots are numbered again first.
  bool renumbered = false;
  for (const Line& line : read_lines(file)) renumbered |= line.slot_number == 999999999;
  if (!renumbered) {
    // The file's bytes stay, in one piece around what was added.
    KM_FUZZ_CHECK(result.size() > file.size());
    size_t prefix = 0;
    while (prefix < file.size() && file[prefix] == result[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < file.size() - prefix && file[file.size() - 1 - suffix] == result[result.size() - 1 - suffix])
      ++suffix;
    KM_FUZZ_CHECK(prefix + suffix == file.size());
  }

  if (!can_be_written(value)) return;
  // The new value comes last and reads back as it was; the others stay as they were.
  std::map<int, std::string> before = reference_entries(file);
  std::map<int, std::string> after = reference_entries(result);
  KM_FUZZ_CHECK(!after.empty() && after.rbegin()->second == value);
  after.erase(std::prev(after.end()));
  if (renumbered) {
    KM_FUZZ_CHECK(values_of(after) == values_of(before));
  } else {
    KM_FUZZ_CHECK(after == before);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  km::fuzz::Input input(data, size);
  const unsigned position_byte = input.byte();
  const std::string value = input.bytes(input.byte() % 32);
  const std::string file = input.rest();

  check_entries(file);
  const int entries = static_cast<int>(km::catalogue_entries(file).size());
  check_without_position(file, static_cast<int>(position_byte % (entries + 3)) - 1);
  check_with_value(file, value);
  return 0;
}
