#include "gamefiles/catalogue.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "gamefiles/game_paths.h"

namespace km {
namespace {

using Values = std::vector<std::string>;

Values values_of(std::string_view file) {
  Values values;
  for (const CatalogueEntry& e : catalogue_entries(file)) values.push_back(e.value);
  return values;
}

TEST(Catalogue, KeysAndSlots) {
  EXPECT_EQ(catalogue_section(), "\xC6\xA4\xB7\xF4\xB0\xFC");  // 皮肤包 in GBK
  EXPECT_EQ(catalogue_key(1), "\xD3\xA2\xD0\xDB" "1");          // 英雄1
  EXPECT_EQ(catalogue_key(10), "英雄10");

  struct Case { std::string key; std::optional<int> slot; };
  const Case cases[] = {
      {"英雄1", 1}, {"英雄10", 10}, {"英雄123456789", 123456789},
      {"英雄0", std::nullopt}, {"英雄01", std::nullopt}, {"英雄", std::nullopt},
      {"英雄1a", std::nullopt}, {"英雄-1", std::nullopt}, {"英雄1234567890", std::nullopt},
      {"hero1", std::nullopt}, {"1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(slot_of_key(c.key), c.slot);
  }
}

// What the profile functions read for each slot: the first key of the first section of that name,
// blanks around it off, one pair of quotes off; never cut short.
TEST(Catalogue, EntriesAreWhatTheProfileFunctionsRead) {
  struct Case { std::string file; Values values; };
  const std::string long_value(20000, 'x');
  const Case cases[] = {
      {"", {}},
      {"[皮肤包]\r\n英雄1=A\r\n英雄2=B,1\r\n英雄4=D\r\n", {"A", "B,1", "D"}},   // a gap hides nothing
      {"[皮肤包]\n英雄2=B\n英雄1=A", {"A", "B"}},                               // slot order, LF only
      {"[皮肤包]\r\n英雄1=\r\n英雄1=A\r\n英雄2=X\r\n英雄2=Y\r\n英雄3\r\n", {"X"}},  // the first key counts
      {"[皮肤包]\r\n英雄1=A\r\n[皮肤包]\r\n英雄2=B\r\n", {"A"}},                 // the first section counts
      {"[其他]\r\n英雄1=X\r\n[皮肤包]\r\n英雄01=Y\r\n英雄1=A\r\n", {"A"}},
      {"  [皮肤包]  \r\n  英雄1  =  \"q\"  \r\n英雄2='s'\r\n英雄3=\"half\r\n英雄4=a=b\r\n", {"q", "s", "\"half", "a=b"}},
      {"[ 皮肤包 ]\r\n英雄1=A\r\n", {"A"}},                                      // blanks around the name too
      {"[皮肤包]\r\n英雄1=" + long_value + "\r\n", {long_value}},
      {"[皮肤包]\r\n;英雄1=A\r\n英雄2=皮肤]包\r\n", {"皮肤]包"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.substr(0, 80));
    EXPECT_EQ(values_of(c.file), c.values);
  }
  const std::vector<CatalogueEntry> entries = catalogue_entries("[皮肤包]\r\n英雄4=D\r\n英雄1=A\r\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].slot, 4);
}

// Only the slot lines of 皮肤包 change; every other byte stays.
TEST(Catalogue, RemovingAPositionKeepsEverythingElse) {
  struct Case { std::string file; int position; std::string result; };
  const std::string long_value(20000, 'v');
  const Case cases[] = {
      {"[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄3=C\r\n", 1, "[皮肤包]\r\n英雄1=B\r\n英雄2=C\r\n"},
      {"[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄4=D\r\n", 1, "[皮肤包]\r\n英雄1=B\r\n英雄2=D\r\n"},
      {"[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n", 3, "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n"},  // past the end
      {"[皮肤包]\r\n英雄1=A\r\n", 1, ""},                                          // nothing left
      {"[皮肤包]\r\n英雄1=A\r\n\r\n", 1, ""},
      {"; mine\r\n[其他]\r\nx=1\r\n\r\n[皮肤包]\r\n英雄01=keep\r\n英雄1=A\r\n英雄2=" + long_value +
           "\r\n英雄2=dup\r\n英雄5=\r\n[尾]\r\ny=2",
       1, "; mine\r\n[其他]\r\nx=1\r\n\r\n[皮肤包]\r\n英雄01=keep\r\n英雄1=" + long_value + "\r\n[尾]\r\ny=2"},
      {"[其他]\r\nx=1\r\n[皮肤包]\r\n英雄1=A\r\n", 1, "[其他]\r\nx=1\r\n"},          // the empty header goes
      {"[皮肤包]\r\n英雄1=A\r\nnote=1\r\n", 1, "[皮肤包]\r\nnote=1\r\n"},            // a header with more stays
      {"[皮肤包]\r\n英雄1=A\r\n[皮肤包]\r\n英雄1=B\r\n", 2, "[皮肤包]\r\n英雄1=A\r\n[皮肤包]\r\n"},  // unseen duplicates go
      {"[皮肤包]\n英雄1=A\n英雄2=B", 1, "[皮肤包]\n英雄1=B\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.substr(0, 80) + " / " + std::to_string(c.position));
    EXPECT_EQ(catalogue_without_position(c.file, c.position), c.result);
  }
}

TEST(Catalogue, AddingAValueGoesAfterTheLastSlot) {
  struct Case { std::string file; std::string result; };
  const Case cases[] = {
      {"", "[皮肤包]\r\n英雄1=N\r\n"},
      {"[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄4=D\r\n[其他]\r\nx=1\r\n",
       "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄4=D\r\n英雄5=N\r\n[其他]\r\nx=1\r\n"},
      {"[皮肤包]\r\n英雄1=A", "[皮肤包]\r\n英雄1=A\r\n英雄2=N\r\n"},
      {"[其他]\r\nx=1", "[其他]\r\nx=1\r\n[皮肤包]\r\n英雄1=N\r\n"},
      {"[皮肤包]\r\nnote=1\r\n", "[皮肤包]\r\n英雄1=N\r\nnote=1\r\n"},
      // An empty key would hide a new value of the same slot: the new one goes past every key.
      {"[皮肤包]\r\n英雄3=\r\n", "[皮肤包]\r\n英雄3=\r\n英雄4=N\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string result = catalogue_with_value(c.file, "N");
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(values_of(result).back(), "N");
  }
}

// Found by the catalogue fuzzer: a value read from between quotes lost its blanks or its inner
// quotes when the rewrite wrote it bare, and a zero byte could leave a blank at its end.
TEST(Catalogue, RewrittenValuesReadBackAsTheyWere) {
  const std::string file = std::string("[皮肤包]\r\n英雄1=\" padded \"\r\n英雄2=\"'q'\"\r\n英雄3=\"\"\"\r\n") +
                           catalogue_key(4) + std::string("=\xD0\r\0\r\n", 6) + "英雄5=plain\r\n";
  const Values values = {" padded ", "'q'", "\"", "\xD0\r", "plain"};
  ASSERT_EQ(values_of(file), values);
  const std::string result = catalogue_without_position(file, 5);
  EXPECT_EQ(result, "[皮肤包]\r\n英雄1=\" padded \"\r\n英雄2=\"'q'\"\r\n英雄3=\"\r\n英雄4=\"\xD0\r\"\r\n");
  EXPECT_EQ(values_of(result), Values(values.begin(), values.end() - 1));
}

// Found by the catalogue fuzzer: after the largest slot, 英雄999999999, the new key had ten digits
// and was no slot, so the imported value was not listed.
TEST(Catalogue, AddingPastTheLargestSlotNumbersTheSlotsAgain) {
  const std::string result = catalogue_with_value("[皮肤包]\r\n英雄999999999=A\r\n英雄5=\r\nnote=1\r\n", "N");
  EXPECT_EQ(result, "[皮肤包]\r\n英雄1=A\r\n英雄2=N\r\nnote=1\r\n");
  EXPECT_EQ(values_of(result), (Values{"A", "N"}));
}

// Found by the import-names fuzzer: a name with a zero byte or a line feed inside passed as one
// that reads back bare, and the catalogue then gave back a shorter name or none.
TEST(Catalogue, ANameReadsBackBareOnlyWhenItComesBackWhole) {
  struct Case { std::string name; bool bare; };
  const Case cases[] = {
      {"Ahri", true},
      {"A, B 'c'", true},
      {"A\rB", true},  // a CR inside stays in its line
      {" Ahri", false},
      {"Ahri\t", false},
      {"\"Ahri\"", false},
      {"'Ahri'", false},
      {std::string("A\0B", 3), false},
      {std::string("\0\0''a'.", 8), false},
      {"A\nB", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reads_back_bare(c.name), c.bare);
    if (c.bare) {
      EXPECT_EQ(values_of(catalogue_with_value("", c.name)), Values{c.name});
    }
  }
}

TEST(Catalogue, ReadAndWriteThroughTheDisk) {
  fakes::FakeDisk disk;
  const std::string folder = "D:\\LOL";
  disk.folders.insert("D:\\LOL\\Game");
  const std::string path = catalogue_path(folder);
  EXPECT_EQ(read_catalogue(disk, folder).status, ReadStatus::missing);
  EXPECT_EQ(write_catalogue(disk, folder, ""), system_error::kNone);  // nothing to delete
  EXPECT_EQ(write_catalogue(disk, folder, "[皮肤包]\r\n英雄1=A\r\n"), system_error::kNone);
  EXPECT_EQ(read_catalogue(disk, folder).bytes, "[皮肤包]\r\n英雄1=A\r\n");
  EXPECT_EQ(write_catalogue(disk, folder, ""), system_error::kNone);
  EXPECT_FALSE(disk.files.count(path));
  disk.read_errors[path] = system_error::kSharingViolation;
  EXPECT_EQ(read_catalogue(disk, folder).status, ReadStatus::unreadable);
}

}  // namespace
}  // namespace km
