#include "commands/commands.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace km {
namespace {

using fakes::FakeCatalogue;
using fakes::FakeDisk;
using fakes::FakeProgram;
using fakes::FakeSkinList;
using fakes::FakeUserMessages;

struct World {
  std::string install_folder = "D:\\LOL";
  FakeDisk disk;
  FakeCatalogue catalogue;
  FakeSkinList list;
  FakeUserMessages messages;
  FakeProgram program;
  CommandContext ctx{install_folder, disk, catalogue, list, messages, program};

  World() { program.messages = &messages; }
  std::string& mount_list() { return disk.files[mount_list_path(install_folder)]; }
  std::vector<std::vector<std::string>> rows() const { return list.rows; }
};

using Rows = std::vector<std::vector<std::string>>;

TEST(StartupLoad, ListsEverySlotInOrderWithItsStatus) {
  World w;
  // A hand-edited catalogue with a gap: nothing after it may be hidden.
  w.catalogue.slots = {{1, "Ahri"}, {2, "A,B"}, {4, "SkinA"}, {5, ",Lux"}, {7, "Jinx"}};
  w.mount_list() = "MyAhri.zip\r\nA,B.zip\r\nSkinA.zip\r\nahri.zip\r\n,Lux.zip";
  startup_load(w.ctx);
  EXPECT_EQ(w.rows(), (Rows{{"Ahri", kNotMounted},   // MyAhri.zip and ahri.zip are other packs
                            {"A,B", kMounted},        // the whole value, comma included
                            {"SkinA", kMounted},
                            {",Lux", kMounted},
                            {"Jinx", kNotMounted}}));
  EXPECT_EQ(w.list.selection(), -1);
  EXPECT_EQ(w.list.repaints, 1);
  EXPECT_TRUE(w.disk.written.empty());
}

TEST(StartupLoad, FirstLineEntryAndDuplicateNames) {
  World w;
  w.catalogue.slots = {{1, "SkinA"}, {2, "SkinA"}};
  w.mount_list() = "SkinA.zip\r\nAatrox.zip";
  startup_load(w.ctx);
  EXPECT_EQ(w.rows(), (Rows{{"SkinA", kMounted}, {"SkinA", kMounted}}));
}

TEST(StartupLoad, MissingOrUnreadableFiles) {
  {
    World w;  // no catalogue: no rows, no repaint
    w.catalogue.exists = false;
    startup_load(w.ctx);
    EXPECT_TRUE(w.rows().empty());
    EXPECT_EQ(w.list.repaints, 0);
  }
  {
    World w;  // a catalogue file without values
    w.catalogue.slots = {{1, ""}};
    startup_load(w.ctx);
    EXPECT_TRUE(w.rows().empty());
    EXPECT_EQ(w.list.repaints, 1);
  }
  {
    World w;  // an unreadable mount list shows every skin as not mounted and is left alone
    w.catalogue.slots = {{1, "SkinA"}};
    w.mount_list() = "Aatrox.zip\r\nSkinA.zip";
    w.disk.unreadable.insert(mount_list_path(w.install_folder));
    startup_load(w.ctx);
    EXPECT_EQ(w.rows(), (Rows{{"SkinA", kNotMounted}}));
    EXPECT_TRUE(w.disk.written.empty());
  }
  {
    World w;  // no mount list at all
    w.catalogue.slots = {{1, "SkinA"}};
    startup_load(w.ctx);
    EXPECT_EQ(w.rows(), (Rows{{"SkinA", kNotMounted}}));
  }
}

TEST(RestoreDefault, WritesTheStockListThenQuits) {
  World w;
  w.mount_list() = "Aatrox.zip\r\nSkinA.zip";
  w.list.rows = {{"SkinA", kMounted}};
  restore_default(w.ctx);
  EXPECT_EQ(w.mount_list(), default_mount_list());
  EXPECT_TRUE(w.program.hidden);
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].text, "恢复默认成功，软件已退出，请重新运行！");
  EXPECT_EQ(w.messages.shown[0].kind, MessageKind::information);
  EXPECT_EQ(w.messages.shown[0].title, "信息：");
  EXPECT_EQ(w.program.exit_code, 0);
  EXPECT_EQ(w.program.messages_at_exit, 1u);  // the user saw the message before the end
  EXPECT_EQ(w.rows(), (Rows{{"SkinA", kMounted}}));
}

TEST(RestoreDefault, AFailedWriteIsReportedAndTheProgramGoesOn) {
  World w;
  w.mount_list() = "Aatrox.zip\r\nSkinA.zip";
  w.disk.unwritable.insert(mount_list_path(w.install_folder));
  restore_default(w.ctx);
  EXPECT_EQ(w.mount_list(), "Aatrox.zip\r\nSkinA.zip");
  EXPECT_FALSE(w.program.hidden);
  EXPECT_EQ(w.program.exit_code, -100);
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].text, "恢复默认失败！");
  EXPECT_EQ(w.messages.shown[0].kind, MessageKind::failure);
  EXPECT_EQ(w.messages.shown[0].title, "信息：");
}

}  // namespace
}  // namespace km
