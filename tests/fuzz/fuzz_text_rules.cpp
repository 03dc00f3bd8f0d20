// The text rules against a plain character-step walk written from the rule alone: a character
// starts at the first byte, and a lead byte (0x81 to 0xFE) takes the byte after it along.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "gamefiles/text_rules.h"

namespace {

bool is_lead(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

size_t step(std::string_view text, size_t at) { return is_lead(text[at]) ? 2 : 1; }

bool occurs_at(std::string_view text, size_t at, std::string_view key) {
  return at + key.size() <= text.size() && text.substr(at, key.size()) == key;
}

std::vector<size_t> character_starts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t at = 0; at < text.size(); at += step(text, at)) starts.push_back(at);
  return starts;
}

int reference_find(std::string_view text, std::string_view key) {
  for (size_t at : character_starts(text))
    if (occurs_at(text, at, key)) return static_cast<int>(at) + 1;
  return -1;
}

int reference_find_last(std::string_view text, std::string_view key) {
  if (key.empty()) return text.empty() ? -1 : 1;
  int last = -1;
  for (size_t at : character_starts(text))
    if (occurs_at(text, at, key)) last = static_cast<int>(at) + 1;
  return last;
}

// After a match the walk goes on from the byte after it.
std::string reference_replace(std::string_view text, std::string_view key, std::string_view by) {
  if (key.empty()) return std::string(text);
  std::string out;
  for (size_t at = 0; at < text.size();) {
    if (occurs_at(text, at, key)) {
      out += by;
      at += key.size();
    } else {
      out += text.substr(at, step(text, at));
      at += step(text, at);
    }
  }
  return out;
}

std::vector<std::string> reference_split(std::string_view text, std::string_view delimiter) {
  if (delimiter.empty()) return text.empty() ? std::vector<std::string>{} : std::vector<std::string>{std::string(text)};
  std::vector<std::string> pieces;
  size_t piece_start = 0;
  for (size_t at = 0; at < text.size();) {
    if (occurs_at(text, at, delimiter)) {
      pieces.emplace_back(text.substr(piece_start, at - piece_start));
      at += delimiter.size();
      piece_start = at;
    } else {
      at += step(text, at);
    }
  }
  if (piece_start < text.size()) pieces.emplace_back(text.substr(piece_start));
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  km::fuzz::Input input(data, size);
  const size_t key_size = input.byte() % 8;
  const size_t replacement_size = input.byte() % 8;
  const std::string key = input.bytes(key_size);
  const std::string replacement = input.bytes(replacement_size);
  const std::string text = input.rest();

  KM_FUZZ_CHECK(km::find_text(text, key) == reference_find(text, key));
  KM_FUZZ_CHECK(km::find_last(text, key) == reference_find_last(text, key));
  KM_FUZZ_CHECK(km::replace_text(text, key, replacement) == reference_replace(text, key, replacement));
  KM_FUZZ_CHECK(km::replace_text(text, key, key) == text);

  const std::vector<std::string> pieces = km::split_text(text, key);
  KM_FUZZ_CHECK(pieces == reference_split(text, key));
  // Joined again, the pieces give the text, less a trailing delimiter.
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? key : std::string()) + pieces[i];
  KM_FUZZ_CHECK(text.compare(0, joined.size(), joined) == 0);
  const std::string_view tail = std::string_view(text).substr(joined.size());
  KM_FUZZ_CHECK(tail.empty() || tail == key);
  return 0;
}
