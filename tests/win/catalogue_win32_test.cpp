#include "gamefiles/catalogue_win32.h"

#include <gtest/gtest.h>

#include "gamefiles/disk_win32.h"
#include "gamefiles/game_paths.h"
#include "temp_folder.h"

namespace km {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

struct CatalogueFixture : ::testing::Test {
  TempFolder dir;
  std::string install_folder = dir.path();
  Win32Disk disk;
  ProfileCatalogue catalogue{install_folder, disk};
  std::string path = catalogue_path(install_folder);

  void SetUp() override { ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr)); }
  std::vector<std::string> values() {
    std::vector<std::string> v;
    for (const CatalogueEntry& e : catalogue.entries()) v.push_back(e.value);
    return v;
  }
};

using Values = std::vector<std::string>;

TEST_F(CatalogueFixture, MissingFileReadsEmpty) {
  EXPECT_FALSE(catalogue.present());
  EXPECT_EQ(catalogue.read_slot(1), "");
  EXPECT_TRUE(catalogue.entries().empty());
  EXPECT_EQ(first_free_slot(catalogue), 1);
  EXPECT_TRUE(catalogue.remove_position(1));
  EXPECT_FALSE(catalogue.present());
}

TEST_F(CatalogueFixture, WritesWhatTheProfileFunctionsWrite) {
  for (int slot = 1; slot <= 10; ++slot) ASSERT_TRUE(catalogue.write_slot(slot, "Skin" + number_to_text(slot)));
  ASSERT_TRUE(catalogue.write_slot(2, "A,B"));
  EXPECT_TRUE(catalogue.present());
  EXPECT_EQ(catalogue.read_slot(10), "Skin10");
  const std::string written = read_bytes(path);
  EXPECT_NE(written.find("英雄10=Skin10\r\n"), std::string::npos);
  EXPECT_EQ(written.find("英雄010"), std::string::npos);
  // Our own whole-file text is byte for byte what the profile functions produced.
  Values expected;
  for (int slot = 1; slot <= 10; ++slot) expected.push_back(slot == 2 ? "A,B" : "Skin" + number_to_text(slot));
  EXPECT_EQ(catalogue_file_text(expected), written);
  EXPECT_EQ(values(), expected);
}

TEST_F(CatalogueFixture, ValuesAfterAGapAreListedAndKeptByARewrite) {
  ASSERT_TRUE(write_bytes(path, "[其他]\r\nx=1\r\n[皮肤包]\r\n英雄1=A\r\n英雄2=B,1\r\n英雄4=D\r\n英雄01=X\r\n英雄6=\r\n"));
  const std::vector<CatalogueEntry> entries = catalogue.entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].slot, 4);
  EXPECT_EQ(values(), (Values{"A", "B,1", "D"}));
  EXPECT_EQ(first_free_slot(catalogue), 3);
  EXPECT_EQ(slot_after_last(entries), 5);

  ASSERT_TRUE(catalogue.remove_position(1));
  EXPECT_EQ(read_bytes(path), "[皮肤包]\r\n英雄1=B,1\r\n英雄2=D\r\n");
  EXPECT_EQ(values(), (Values{"B,1", "D"}));  // the profile cache saw the new file

  ASSERT_TRUE(catalogue.remove_position(3));  // past the end: nothing removed, still compact
  EXPECT_EQ(values(), (Values{"B,1", "D"}));
  ASSERT_TRUE(catalogue.remove_position(2));
  ASSERT_TRUE(catalogue.remove_position(1));
  EXPECT_EQ(read_bytes(path), "<missing>");  // the last value gone: no file
  EXPECT_FALSE(catalogue.present());
}

TEST_F(CatalogueFixture, AReadOnlyCatalogueIsNeverRewritten) {
  ASSERT_TRUE(catalogue.write_slot(1, "A"));
  ASSERT_TRUE(catalogue.write_slot(2, "B"));
  const std::string before = read_bytes(path);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(catalogue.remove_position(1));
  EXPECT_EQ(read_bytes(path), before);

  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(catalogue.remove_position(1));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(catalogue.remove_position(1));  // deleting the file is refused too
  EXPECT_EQ(values(), (Values{"B"}));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CatalogueFixture, EntriesAgreeWithReadSlotForTrickyValues) {
  const Values tricky = {"\"quoted\"", "  padded  ", "a=b", "皮肤,包", "'single'", std::string(10300, 'x'),
                         "\"", "'half", "x\"", std::string(6000, '\xB0') + "a", "; not a comment"};
  for (size_t i = 0; i < tricky.size(); ++i) ASSERT_TRUE(catalogue.write_slot(static_cast<int>(i) + 1, tricky[i]));
  const std::vector<CatalogueEntry> entries = catalogue.entries();
  ASSERT_EQ(entries.size(), tricky.size());
  for (const CatalogueEntry& e : entries) EXPECT_EQ(e.value, catalogue.read_slot(e.slot)) << e.slot;
  EXPECT_EQ(catalogue.read_slot(3), "a=b");
  EXPECT_EQ(catalogue.read_slot(4), "皮肤,包");
  EXPECT_EQ(catalogue.read_slot(6).size(), static_cast<size_t>(kCatalogueValueBuffer - 1));
}

TEST_F(CatalogueFixture, AKeyWrittenTwiceCountsOnceAsTheProfileFunctionsReadIt) {
  ASSERT_TRUE(write_bytes(path, "[皮肤包]\r\n英雄2=B\r\n英雄1=\r\n英雄1=A\r\n英雄2=X\r\n英雄3\r\n英雄4=D\r\n"));
  const std::vector<CatalogueEntry> entries = catalogue.entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].slot, 2);
  EXPECT_EQ(entries[0].value, catalogue.read_slot(2));
  EXPECT_EQ(entries[1].slot, 4);
  EXPECT_EQ(catalogue.read_slot(1), "");
  EXPECT_EQ(catalogue.read_slot(3), "");
}

}  // namespace
}  // namespace km
