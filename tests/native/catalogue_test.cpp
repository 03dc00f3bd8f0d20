#include "gamefiles/catalogue.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "gamefiles/game_paths.h"

namespace km {
namespace {

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

TEST(Catalogue, FileTextIsWhatTheProfileFunctionsWrite) {
  EXPECT_EQ(catalogue_file_text({}), "");
  EXPECT_EQ(catalogue_file_text({"SkinA", "A,B"}), "[皮肤包]\r\n英雄1=SkinA\r\n英雄2=A,B\r\n");
  EXPECT_EQ(catalogue_path("D:\\LOL\\"), "D:\\LOL\\\\Game\\皮肤.ini");
}

TEST(Catalogue, SlotsAroundAGap) {
  fakes::FakeCatalogue catalogue;
  catalogue.slots = {{1, "A"}, {2, "B"}, {4, "D"}};
  EXPECT_EQ(first_free_slot(catalogue), 3);
  EXPECT_EQ(slot_after_last(catalogue.entries()), 5);
  EXPECT_EQ(slot_after_last({}), 1);
  fakes::FakeCatalogue empty;
  EXPECT_EQ(first_free_slot(empty), 1);
}

}  // namespace
}  // namespace km
