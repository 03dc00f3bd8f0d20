#include "gamefiles/game_paths.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace km {
namespace {

const std::string kTrailBackslash = "\x81\x5C";  // a GBK character whose second byte is 0x5C

TEST(GamePaths, PlainFileNames) {
  struct Case { std::string name; bool plain; };
  const Case cases[] = {
      {"SkinA", true}, {"皮肤,1", true}, {"a.zip", true}, {"..a", true}, {"x" + kTrailBackslash, true},
      {"", false}, {".", false}, {"..", false}, {"..\\..\\Windows\\x", false}, {"sub\\a", false},
      {"a/b", false}, {"C:x", false}, {"*", false}, {"a?", false}, {kTrailBackslash + "\\a", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(is_plain_file_name(c.name), c.plain);
  }
}

TEST(GamePaths, AChosenFolderStandsForTheInstallFolder) {
  fakes::FakeDisk disk;
  disk.folders = {"D:\\LOL", "D:\\LOL\\Game", "D:\\Other", "E:\\" + kTrailBackslash, "E:\\" + kTrailBackslash + "\\Game"};
  struct Case { std::string chosen; std::optional<std::string> folder; };
  const Case cases[] = {
      {"D:\\LOL", "D:\\LOL"},
      {"D:\\LOL\\", "D:\\LOL"},
      {"D:\\LOL\\Game", "D:\\LOL"},     // the Game folder itself stands for its parent
      {"D:\\LOL\\game\\", "D:\\LOL"},
      {"D:\\Other", std::nullopt},
      {"D:\\Nowhere\\Game", std::nullopt},
      {"", std::nullopt},
      {"E:\\" + kTrailBackslash, "E:\\" + kTrailBackslash},  // its last byte is no separator
  };
  disk.folders.insert("D:\\LOL\\game");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    EXPECT_EQ(install_folder_of_choice(disk, c.chosen), c.folder);
  }
}

}  // namespace
}  // namespace km
