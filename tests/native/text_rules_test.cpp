#include "gamefiles/text_rules.h"

#include <gtest/gtest.h>

namespace km {
namespace {

// A GBK character whose second byte is 0x5C, the backslash.
const std::string kTrailBackslash = "\x95" "\x5C";

TEST(TextRules, SimpleOperations) {
  EXPECT_EQ(number_to_text(12), "12");
  EXPECT_EQ(number_to_text(-5), "-5");
  EXPECT_EQ(number_to_text(0), "0");
  EXPECT_EQ(number_to_text(INT32_MIN), "-2147483648");

  EXPECT_EQ(bytes_to_text(std::string("a\0b", 3)), "a");
  EXPECT_EQ(bytes_to_text("ab"), "ab");

  EXPECT_EQ(left_part("abc", 5), "abc");
  EXPECT_EQ(left_part("abc", 0), "");
  EXPECT_EQ(left_part("abc", -1), "");
  EXPECT_EQ(right_part("abc", 2), "bc");
  EXPECT_EQ(right_part("abc", 9), "abc");
  EXPECT_EQ(right_part("abc", -3), "");

  EXPECT_EQ(compare_text("a", "a"), 0);
  EXPECT_LT(compare_text("a", "ab"), 0);
  EXPECT_GT(compare_text("\xB0", "a"), 0);  // unsigned bytes
  EXPECT_NE(compare_text("A", "a"), 0);
}

TEST(TextRules, FindText) {
  struct Case { std::string text, key; int first, last; };
  const Case cases[] = {
      {"a,b", ",", 2, 2},
      {"abc", "", 1, 1},
      {"", "", -1, -1},
      {"abc", "x", -1, -1},
      {"abc", "B", -1, -1},
      {"aaa", "aa", 1, 2},  // find_last lets occurrences overlap
      {"ab", "abc", -1, -1},
      // A match never starts on the second byte of a two-byte character.
      {"\xB0" "a" "a", "a", 3, 3},
      {"\xB0" "a", "a", -1, -1},
      // A lead byte at the very end is still a place where a match may start.
      {"ab\xB0", "\xB0", 3, 3},
      // 0x80 and 0xFF are characters of their own: the byte after them may start a match.
      {"\x80" "a", "a", 2, 2},
      {"\xFF" "\\", "\\", 2, 2},
      {"\x81" "\\", "\\", -1, -1},
      {"\xFE" "\\" "\\", "\\", 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.key);
    EXPECT_EQ(find_text(c.text, c.key), c.first);
    EXPECT_EQ(find_last(c.text, c.key), c.last);
  }
}

TEST(TextRules, FindLastBackslashSkipsTrailBytes) {
  const std::string path = "X:\\Packs" + kTrailBackslash + "abc\\" + kTrailBackslash + ".zip";
  // The real separator is the one after "abc", not the trail byte of the last character.
  EXPECT_EQ(find_last(path, "\\"), static_cast<int>(path.find("abc\\") + 4));
  EXPECT_EQ(find_text(kTrailBackslash, "\\"), -1);
}

TEST(TextRules, ReplaceText) {
  struct Case { std::string text, key, replacement, result; };
  const Case cases[] = {
      {"a.zip.zip", ".zip", "", "a"},
      {"a.zipb.zip", ".zip", "", "ab"},
      {"abab", "aba", "x", "xb"},
      {"aaa", "a", "aa", "aaaaaa"},  // the replacement is not searched again
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      {"\xB0" "ab", "a", "x", "\xB0" "ab"},       // "a" is a trail byte here
      {"ab\xB0", "b", "", "a\xB0"},               // a lone lead byte at the end is kept
      {"\x80" "a\xFF" "a", "a", "", "\x80\xFF"},      // 0x80 and 0xFF take nothing along
      {"X:\\" + kTrailBackslash + "\\y", "X:\\" + kTrailBackslash + "\\", "", "y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.key);
    EXPECT_EQ(replace_text(c.text, c.key, c.replacement), c.result);
  }
}

TEST(TextRules, SplitText) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(split_text(",a,,b,"), (Pieces{"", "a", "", "b"}));
  EXPECT_EQ(split_text("abc"), (Pieces{"abc"}));
  EXPECT_EQ(split_text(""), Pieces{});
  EXPECT_EQ(split_text("a,b", ""), (Pieces{"a,b"}));
  EXPECT_EQ(split_text("Ahri,"), (Pieces{"Ahri"}));
  EXPECT_EQ(split_text("a\r\nb\r\n", "\r\n"), (Pieces{"a", "b"}));
  // "," as the second byte of a two-byte character is no delimiter; a trailing lead byte stays.
  EXPECT_EQ(split_text("\xB0" ",x,y\xB0"), (Pieces{"\xB0" ",x", "y\xB0"}));
}

}  // namespace
}  // namespace km
