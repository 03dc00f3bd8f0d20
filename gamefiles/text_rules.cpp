#include "gamefiles/text_rules.h"

namespace km {

namespace {

// The lead bytes of code page 936. 0x80 and 0xFF stand alone, as IsDBCSLeadByteEx says; a rule on
// byte values, never a call into the code page, so it is the same on every machine.
bool is_lead_byte(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

bool matches_at(std::string_view text, size_t at, std::string_view key) {
  return text.compare(at, key.size(), key) == 0;
}

// Where the character-step walk goes after the character at `at`; npos when a lead byte is the
// last byte of the text, which ends every walk.
size_t next_character(std::string_view text, size_t at) {
  if (!is_lead_byte(text[at])) return at + 1;
  if (at + 1 >= text.size()) return std::string_view::npos;
  return at + 2;
}

}  // namespace

int compare_text(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = a[i], y = b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Text number_to_text(std::int32_t n) { return std::to_string(n); }

Text bytes_to_text(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

Text left_part(std::string_view text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, static_cast<size_t>(n)));
}

Text right_part(std::string_view text, int n) {
  if (n <= 0) return {};
  const size_t count = static_cast<size_t>(n) < text.size() ? static_cast<size_t>(n) : text.size();
  return Text(text.substr(text.size() - count));
}

int find_text(std::string_view text, std::string_view key) {
  if (key.empty()) return text.empty() ? -1 : 1;
  for (size_t at = 0; at != std::string_view::npos && text.size() - at >= key.size();
       at = next_character(text, at)) {
    if (matches_at(text, at, key)) return static_cast<int>(at + 1);
  }
  return -1;
}

int find_last(std::string_view text, std::string_view key) {
  if (key.empty()) return text.empty() ? -1 : 1;
  int last = -1;
  for (size_t at = 0; at != std::string_view::npos && text.size() - at >= key.size();
       at = next_character(text, at)) {
    if (matches_at(text, at, key)) last = static_cast<int>(at + 1);
  }
  return last;
}

Text replace_text(std::string_view text, std::string_view key, std::string_view replacement) {
  if (text.empty() || key.empty()) return Text(text);
  Text result;
  size_t at = 0;
  while (text.size() - at >= key.size()) {
    if (matches_at(text, at, key)) {
      result += replacement;
      at += key.size();
      continue;
    }
    // A lead byte at the very end goes alone; the tail below appends whatever is left.
    const size_t next = next_character(text, at);
    if (next == std::string_view::npos) break;
    result += text.substr(at, next - at);
    at = next;
  }
  result += text.substr(at);
  return result;
}

std::vector<Text> split_text(std::string_view text, std::string_view delimiter) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t piece_start = 0;
  size_t at = 0;
  while (at != std::string_view::npos && text.size() - at >= delimiter.size()) {
    if (matches_at(text, at, delimiter)) {
      pieces.emplace_back(text.substr(piece_start, at - piece_start));
      at += delimiter.size();
      piece_start = at;
    } else {
      at = next_character(text, at);
    }
  }
  if (piece_start < text.size()) pieces.emplace_back(text.substr(piece_start));
  return pieces;
}

}  // namespace km
