#pragma once
// Byte-text operations every path and game file goes through. A text is a std::string of bytes in
// the ANSI code page (GBK here). Lengths and positions count bytes.
//
// Character-step rule: find_text, find_last, replace_text and split_text walk the text one
// character at a time; a lead byte (0x81 to 0xFE) takes the byte after it along, so a match never starts on
// the second byte of a two-byte character (a GBK trail byte can be 0x5C, a backslash). The byte
// comparison itself may run across character boundaries. A lead byte that is the last byte of
// the text ends the walk.
//
// Positions are 1-based with -1 for "not found": the game files' rules are stated that way, and
// keeping them avoids off-by-one translations at every caller.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace km {

using Text = std::string;

// Unsigned byte-wise comparison; a prefix is the smaller text.
int compare_text(std::string_view a, std::string_view b);
// Signed decimal, no plus sign, no leading zeros, no grouping.
Text number_to_text(std::int32_t n);
// The bytes up to, not including, the first zero byte.
Text bytes_to_text(std::string_view bytes);
// The first / last min(n, length) bytes; empty when n <= 0. May cut a two-byte character.
Text left_part(std::string_view text, int n);
Text right_part(std::string_view text, int n);
// 1-based position of the first / last occurrence of key, -1 when none. An empty key gives 1 for a
// non-empty text and -1 for the empty text. find_last lets occurrences overlap.
int find_text(std::string_view text, std::string_view key);
int find_last(std::string_view text, std::string_view key);
// Every occurrence of key replaced, left to right, without overlap; the replacement is not searched
// again. An empty text or key gives the text unchanged.
Text replace_text(std::string_view text, std::string_view key, std::string_view replacement = {});
// The pieces between occurrences of the delimiter: a leading delimiter gives an empty first piece,
// adjacent delimiters an empty piece, a trailing delimiter no piece after it. Empty text: no
// pieces; empty delimiter: the whole text as one piece.
std::vector<Text> split_text(std::string_view text, std::string_view delimiter = ",");

}  // namespace km
