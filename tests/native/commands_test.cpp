#include "commands/commands.h"

#include <functional>

#include <gtest/gtest.h>

#include "commands/failure_reason.h"
#include "fakes/fakes.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace km {
namespace {

using fakes::FakeDisk;
using fakes::FakeProgram;
using fakes::FakeSkinList;
using fakes::FakeUserMessages;
using Rows = std::vector<std::vector<std::string>>;
namespace e = system_error;

const std::string kInUse = kReasonInUse;

// A game install on the fake disk: D:\LOL\Game with its files, and the list as the load made it.
struct World {
  std::string install_folder = "D:\\LOL";
  FakeDisk disk;
  FakeSkinList list;
  FakeUserMessages messages;
  FakeProgram program;
  CommandContext ctx{install_folder, disk, list, messages, program};

  World() {
    program.messages = &messages;
    disk.folders.insert("D:\\LOL\\Game");
    // No box ever waits for the user while the game files are locked: the other copy would wait too.
    messages.on_show = [this] { EXPECT_EQ(disk.locks_held, 0); };
  }
  std::string list_path() const { return mount_list_path(install_folder); }
  std::string catalogue() const { return catalogue_path(install_folder); }
  std::string pack(const std::string& name) const { return pack_path(install_folder, name); }
  // The catalogue's values and their packs, one row each, not mounted.
  void catalogue_skins(const std::vector<std::string>& names) {
    std::string file = "[皮肤包]\r\n";
    for (size_t i = 0; i < names.size(); ++i) {
      file += catalogue_key(static_cast<int>(i) + 1) + "=" + names[i] + "\r\n";
      if (is_plain_file_name(names[i])) disk.files[pack(names[i])] = "PK";
      list.rows.push_back({names[i], kNotMounted});
    }
    disk.files[catalogue()] = file;
  }
  std::string file(const std::string& path) const {
    auto it = disk.files.find(path);
    return it == disk.files.end() ? "<missing>" : it->second;
  }
  std::string message() const {
    return messages.shown.size() == 1 ? messages.shown[0].text : "<" + std::to_string(messages.shown.size()) + " messages>";
  }
};

std::string failed(const char* first_line, const std::string& reason) { return failure_text(first_line, reason); }

TEST(FailureReason, SystemErrorsMapToTheirReasons) {
  FakeDisk disk;
  struct Case { SystemError error; std::string reason; };
  const Case cases[] = {
      {e::kSharingViolation, kInUse},
      {e::kLockViolation, kInUse},
      {e::kAccessDenied, kReasonAccessDenied},
      {e::kFileReadOnly, kReasonReadOnly},
      {e::kDiskFull, kReasonDiskFull},
      {e::kHandleDiskFull, kReasonDiskFull},
      {e::kFileTooLarge, kReasonTooLarge},
      {e::kPathNotFound, "system text 3"},  // anything else: the system's own text
  };
  for (const Case& c : cases) EXPECT_EQ(reason_for_error(c.error, disk), c.reason) << c.error;
  EXPECT_EQ(failure_text("皮肤挂载失败！", kReasonReadOnly), "皮肤挂载失败！\r\n文件是只读的");
}

TEST(StartupLoad, ListsEverySlotInOrderWithItsStatus) {
  World w;
  // A hand-edited catalogue with a gap: nothing after it may be hidden.
  w.disk.files[w.catalogue()] = "[皮肤包]\r\n英雄1=Ahri\r\n英雄2=A,B\r\n英雄4=SkinA\r\n英雄5=,Lux\r\n英雄7=Jinx\r\n";
  w.disk.files[w.list_path()] = "MyAhri.zip\r\nA,B.zip\r\nSkinA.zip\r\nahri.zip\r\n,Lux.zip";
  startup_load(w.ctx);
  EXPECT_EQ(w.list.rows, (Rows{{"Ahri", kNotMounted},   // MyAhri.zip and ahri.zip are other packs
                               {"A,B", kMounted},        // the whole value, comma included
                               {"SkinA", kMounted},
                               {",Lux", kMounted},
                               {"Jinx", kNotMounted}}));
  EXPECT_EQ(w.list.selection(), -1);
  EXPECT_EQ(w.list.repaints, 1);
  EXPECT_TRUE(w.disk.written.empty());
  EXPECT_TRUE(w.messages.shown.empty());
}

TEST(StartupLoad, MissingUnreadableAndUnknownFiles) {
  struct Case {
    const char* what;
    std::function<void(World&)> setup;
    Rows rows;
    std::string message;  // empty: none
  };
  const Case cases[] = {
      {"no catalogue", [](World&) {}, {}, ""},
      {"a catalogue without values", [](World& w) { w.disk.files[w.catalogue()] = "[皮肤包]\r\n英雄1=\r\n"; }, {}, ""},
      {"an unreadable mount list: not mounted, left alone",
       [](World& w) {
         w.disk.files[w.catalogue()] = "[皮肤包]\r\n英雄1=SkinA\r\n";
         w.disk.read_errors[w.list_path()] = e::kSharingViolation;
       },
       {{"SkinA", kNotMounted}}, ""},
      {"a first-line entry and a duplicate name",
       [](World& w) {
         w.disk.files[w.catalogue()] = "[皮肤包]\r\n英雄1=SkinA\r\n英雄2=SkinA\r\n";
         w.disk.files[w.list_path()] = "SkinA.zip\r\nAatrox.zip";
       },
       {{"SkinA", kMounted}, {"SkinA", kMounted}}, ""},
      {"an unreadable catalogue is said once",
       [](World& w) { w.disk.read_errors[w.catalogue()] = e::kSharingViolation; }, {},
       "无法读取皮肤列表文件 皮肤.ini\r\n" + kInUse},
      {"a catalogue too large to be one",
       [](World& w) { w.disk.read_errors[w.catalogue()] = e::kFileTooLarge; }, {},
       "无法读取皮肤列表文件 皮肤.ini\r\n文件过大"},
      {"no install folder: nothing is read",
       [](World& w) {
         w.install_folder.clear();
         w.disk.files["\\Game\\皮肤.ini"] = "[皮肤包]\r\n英雄1=Guess\r\n";
       },
       {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    c.setup(w);
    startup_load(w.ctx);
    EXPECT_EQ(w.list.rows, c.rows);
    EXPECT_TRUE(w.disk.written.empty());
    if (c.message.empty()) EXPECT_TRUE(w.messages.shown.empty());
    else EXPECT_EQ(w.message(), c.message);
  }
}

struct MountCase {
  const char* what;
  std::string name;
  std::optional<std::string> list;  // nullopt: no mount-list file
  std::function<void(World&)> fault;
  std::optional<std::string> list_after;
  std::string status_after;
  std::string message;
};

TEST(Mount, Cases) {
  const std::string with_zero("Aatrox.zip\0x\nB.zip", 18);
  const std::vector<MountCase> cases = {
      {"the stock list", "SkinA", std::string(default_mount_list()), nullptr,
       std::string(default_mount_list()) + "\r\nSkinA.zip", kMounted, "挂载皮肤成功！"},
      {"no list yet", "SkinA", std::nullopt, nullptr, "\r\nSkinA.zip", kMounted, "挂载皮肤成功！"},
      {"already a line, the first: nothing written", "SkinA", "SkinA.zip\nB.zip", nullptr, "SkinA.zip\nB.zip",
       kMounted, "挂载皮肤成功！"},
      {"zero bytes and LF kept", "SkinA", with_zero, nullptr, with_zero + "\r\nSkinA.zip", kMounted, "挂载皮肤成功！"},
      {"pack not in the Game folder", "SkinA", "A.zip", [](World& w) { w.disk.files.erase(w.pack("SkinA")); },
       "A.zip", kNotMounted, failed("皮肤挂载失败！", "游戏目录中没有 SkinA.zip，请重新导入")},
      {"a folder of the pack's name is no pack", "SkinA", "A.zip",
       [](World& w) {
         w.disk.files.erase(w.pack("SkinA"));
         w.disk.folders.insert(w.pack("SkinA"));
       },
       "A.zip", kNotMounted, failed("皮肤挂载失败！", "游戏目录中没有 SkinA.zip，请重新导入")},
      {"a name with path characters", "..\\..\\x", "A.zip", nullptr, "A.zip", kNotMounted,
       failed("皮肤挂载失败！", kReasonPathCharacters)},
      {"a wildcard name", "Skin*", "A.zip", nullptr, "A.zip", kNotMounted, failed("皮肤挂载失败！", kReasonPathCharacters)},
      {"list held without sharing", "SkinA", "A.zip",
       [](World& w) { w.disk.read_errors[w.list_path()] = e::kSharingViolation; }, "A.zip", kNotMounted,
       failed("皮肤挂载失败！", kInUse)},
      {"list read-only", "SkinA", "A.zip", [](World& w) { w.disk.write_errors[w.list_path()] = e::kFileReadOnly; },
       "A.zip", kNotMounted, failed("皮肤挂载失败！", kReasonReadOnly)},
      {"disk full", "SkinA", "A.zip", [](World& w) { w.disk.write_errors[w.list_path()] = e::kDiskFull; }, "A.zip",
       kNotMounted, failed("皮肤挂载失败！", kReasonDiskFull)},
      {"Game folder gone", "SkinA", std::nullopt, [](World& w) { w.disk.folders.clear(); }, std::nullopt,
       kNotMounted, failed("皮肤挂载失败！", kReasonNoGameFolder)},
  };
  for (const MountCase& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.catalogue_skins({"Other", c.name});
    if (c.list) w.disk.files[w.list_path()] = *c.list;
    if (c.fault) c.fault(w);
    w.list.selected = 1;
    mount_skin(w.ctx);
    EXPECT_EQ(w.file(w.list_path()), c.list_after.value_or("<missing>"));
    EXPECT_EQ(w.list.rows[1][1], c.status_after);
    EXPECT_EQ(w.message(), c.message);
    EXPECT_EQ(w.messages.shown[0].kind, c.status_after == kMounted ? MessageKind::information : MessageKind::failure);
    EXPECT_EQ(w.messages.shown[0].title, "信息：");
    if (c.list == c.list_after) EXPECT_TRUE(w.disk.written.empty());
  }
}

TEST(Unmount, Cases) {
  const std::vector<MountCase> cases = {
      {"every entry goes, with one break each", "SkinA", "A.zip\r\nSkinA.zip\r\nB.zip\r\nSkinA.zip", nullptr,
       "A.zip\r\nB.zip", kNotMounted, "卸载皮肤成功！"},
      {"an entry on the first line", "SkinA", "SkinA.zip\r\nAatrox.zip", nullptr, "Aatrox.zip", kNotMounted,
       "卸载皮肤成功！"},
      {"a longer entry is another pack", "SkinA", "MySkinA.zip\r\nSkinA.zip2.zip", nullptr,
       "MySkinA.zip\r\nSkinA.zip2.zip", kMounted, "未找到卸载皮肤！"},
      {"no list", "SkinA", std::nullopt, nullptr, std::nullopt, kMounted, "未找到卸载皮肤！"},
      {"the pack need not be there", "SkinA", "A.zip\r\nSkinA.zip",
       [](World& w) { w.disk.files.erase(w.pack("SkinA")); }, "A.zip", kNotMounted, "卸载皮肤成功！"},
      {"a failed write keeps the row's status", "SkinA", "A.zip\r\nSkinA.zip",
       [](World& w) { w.disk.write_errors[w.list_path()] = e::kSharingViolation; }, "A.zip\r\nSkinA.zip", kMounted,
       failed("皮肤卸载失败！", kInUse)},
      {"an unreadable list", "SkinA", "A.zip\r\nSkinA.zip",
       [](World& w) { w.disk.read_errors[w.list_path()] = e::kAccessDenied; }, "A.zip\r\nSkinA.zip", kMounted,
       failed("皮肤卸载失败！", kReasonAccessDenied)},
  };
  for (const MountCase& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.catalogue_skins({"Other", c.name});
    w.list.rows[1][1] = kMounted;
    if (c.list) w.disk.files[w.list_path()] = *c.list;
    if (c.fault) c.fault(w);
    w.list.selected = 1;
    unmount_skin(w.ctx);
    EXPECT_EQ(w.file(w.list_path()), c.list_after.value_or("<missing>"));
    EXPECT_EQ(w.list.rows[1][1], c.status_after);
    EXPECT_EQ(w.message(), c.message);
    if (c.list == c.list_after) EXPECT_TRUE(w.disk.written.empty());
  }
}

TEST(MountAndUnmount, NoSelectionIsRefusedAndChangesNothing) {
  for (auto command : {mount_skin, unmount_skin, delete_skin}) {
    World w;
    w.catalogue_skins({"SkinA"});
    w.disk.files[w.list_path()] = "SkinA.zip";
    const auto before = w.disk.files;
    command(w.ctx);
    EXPECT_EQ(w.disk.files, before);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].kind, MessageKind::failure);
    EXPECT_TRUE(w.message() == "未找到挂载皮肤！" || w.message() == "未找到卸载皮肤！" || w.message() == "未找到删除皮肤！");
  }
  World w;
  w.list.rows = {{"SkinA", kNotMounted}};
  mount_skin(w.ctx);
  unmount_skin(w.ctx);
  delete_skin(w.ctx);
  ASSERT_EQ(w.messages.shown.size(), 3u);
  EXPECT_EQ(w.messages.shown[0].text, "未找到挂载皮肤！");
  EXPECT_EQ(w.messages.shown[1].text, "未找到卸载皮肤！");
  EXPECT_EQ(w.messages.shown[2].text, "未找到删除皮肤！");
}

// Another copy of the program holding the game files too long: nothing is read or written.
TEST(GameFilesLock, EveryCommandWaitsForTheOtherCopyOrSaysItIsInUse) {
  const std::pair<void (*)(CommandContext&), const char*> commands[] = {
      {mount_skin, "皮肤挂载失败！"}, {unmount_skin, "皮肤卸载失败！"}, {delete_skin, "皮肤删除失败！"},
      {restore_default, "恢复默认失败！"}};
  for (const auto& [command, first_line] : commands) {
    SCOPED_TRACE(first_line);
    World w;
    w.catalogue_skins({"SkinA"});
    w.disk.files[w.list_path()] = "SkinA.zip";
    const auto before = w.disk.files;
    w.list.selected = 0;
    w.disk.lock_refused = true;
    command(w.ctx);
    EXPECT_EQ(w.disk.files, before);
    EXPECT_EQ(w.message(), failed(first_line, kInUse));
  }
  World w;
  w.catalogue_skins({"SkinA"});
  w.list.rows.clear();
  startup_load(w.ctx);  // reads under the lock and lets it go
  EXPECT_EQ(w.list.rows.size(), 1u);
  EXPECT_EQ(w.disk.locks_held, 0);
}

TEST(MountAndUnmount, MountTwiceUnmountOnceGivesTheListBack) {
  World w;
  w.catalogue_skins({"SkinA"});
  w.disk.files[w.list_path()] = "Aatrox.zip\r\nAzir.zip";
  w.list.selected = 0;
  mount_skin(w.ctx);
  mount_skin(w.ctx);
  unmount_skin(w.ctx);
  EXPECT_EQ(w.file(w.list_path()), "Aatrox.zip\r\nAzir.zip");
  EXPECT_EQ(w.disk.written.size(), 2u);
}

struct DeleteCase {
  const char* what;
  std::vector<std::string> names;  // catalogued and listed, each with its pack
  int row;
  std::string list;
  std::function<void(World&)> fault;
  std::string list_after;
  std::string catalogue_after;
  Rows rows_after;
  std::vector<std::string> packs_recycled;
  std::string message;
};

TEST(Delete, Cases) {
  const std::string abc = "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄3=C\r\n";
  const Rows abc_rows = {{"A", kNotMounted}, {"B", kNotMounted}, {"C", kNotMounted}};
  const std::vector<DeleteCase> cases = {
      {"the first of three, mounted twice", {"A", "B", "C"}, 0, "A.zip\r\nX.zip\r\nA.zip\r\nB.zip", nullptr,
       "X.zip\r\nB.zip", "[皮肤包]\r\n英雄1=B\r\n英雄2=C\r\n", {{"B", kNotMounted}, {"C", kNotMounted}}, {"A"},
       "皮肤删除成功！"},
      {"the only skin: no catalogue left", {"A"}, 0, "X.zip", nullptr, "X.zip", "<missing>", {}, {"A"},
       "皮肤删除成功！"},
      {"not mounted: the list is not written, even read-only", {"A", "B", "C"}, 1, "A.zip",
       [](World& w) { w.disk.write_errors[w.list_path()] = e::kFileReadOnly; }, "A.zip",
       "[皮肤包]\r\n英雄1=A\r\n英雄2=C\r\n", {{"A", kNotMounted}, {"C", kNotMounted}}, {"B"}, "皮肤删除成功！"},
      {"an unreadable list stops it untouched", {"A", "B", "C"}, 0, "A.zip",
       [](World& w) { w.disk.read_errors[w.list_path()] = e::kSharingViolation; }, "A.zip", abc, abc_rows, {},
       failed("皮肤删除失败！", kInUse)},
      {"a failed list write stops it untouched", {"A", "B", "C"}, 0, "A.zip",
       [](World& w) { w.disk.write_errors[w.list_path()] = e::kAccessDenied; }, "A.zip", abc, abc_rows, {},
       failed("皮肤删除失败！", kReasonAccessDenied)},
      {"a pack held open: entries gone, row and catalogue stay", {"A", "B", "C"}, 0, "X.zip\r\nA.zip",
       [](World& w) { w.disk.write_errors[w.pack("A")] = e::kSharingViolation; }, "X.zip", abc,
       {{"A", kNotMounted}, {"B", kNotMounted}, {"C", kNotMounted}}, {}, failed("皮肤删除失败！", kInUse)},
      {"a read-only catalogue: the row stays", {"A", "B", "C"}, 2, "C.zip",
       [](World& w) { w.disk.write_errors[w.catalogue()] = e::kFileReadOnly; }, "", abc, abc_rows, {"C"},
       failed("皮肤删除失败！", kReasonReadOnly)},
      {"an unreadable catalogue stops it untouched", {"A", "B", "C"}, 0, "A.zip",
       [](World& w) { w.disk.read_errors[w.catalogue()] = e::kSharingViolation; }, "A.zip", abc, abc_rows, {},
       failed("皮肤删除失败！", kInUse)},
      {"a missing pack is fine", {"A", "B"}, 1, "", [](World& w) { w.disk.files.erase(w.pack("B")); }, "",
       "[皮肤包]\r\n英雄1=A\r\n", {{"A", kNotMounted}}, {}, "皮肤删除成功！"},
      {"a name with a folder in it touches nothing outside", {"A", "..\\..\\Windows\\win"}, 1,
       "..\\..\\Windows\\win.zip",
       [](World& w) { w.disk.files["D:\\Windows\\win.zip"] = "keep"; }, "", "[皮肤包]\r\n英雄1=A\r\n",
       {{"A", kNotMounted}}, {}, "皮肤删除成功！"},
      {"a wildcard name deletes no pack", {"A", "*"}, 1, "", [](World& w) { w.disk.files[w.pack("*")] = "PK"; }, "",
       "[皮肤包]\r\n英雄1=A\r\n", {{"A", kNotMounted}}, {}, "皮肤删除成功！"},
      {"a comma in the name: the whole name", {"A,B", "A"}, 0, "A.zip\r\nA,B.zip", nullptr, "A.zip",
       "[皮肤包]\r\n英雄1=A\r\n", {{"A", kNotMounted}}, {"A,B"}, "皮肤删除成功！"},
      {"the catalogue changed since the load: its own value goes", {"A", "B"}, 0, "",
       [](World& w) { w.disk.files[w.catalogue()] = "[皮肤包]\r\n英雄1=B\r\n英雄2=A\r\n"; }, "",
       "[皮肤包]\r\n英雄1=B\r\n", {{"B", kNotMounted}}, {"A"}, "皮肤删除成功！"},
      {"no Game folder", {"A"}, 0, "A.zip", [](World& w) { w.disk.folders.clear(); }, "A.zip",
       "[皮肤包]\r\n英雄1=A\r\n", {{"A", kNotMounted}}, {}, failed("皮肤删除失败！", kReasonNoGameFolder)},
  };
  for (const DeleteCase& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.catalogue_skins(c.names);
    w.disk.files[w.list_path()] = c.list;
    if (c.fault) c.fault(w);
    w.list.selected = c.row;
    delete_skin(w.ctx);
    EXPECT_EQ(w.file(w.list_path()), c.list_after);
    EXPECT_EQ(w.file(w.catalogue()), c.catalogue_after);
    EXPECT_EQ(w.list.rows, c.rows_after);
    std::vector<std::string> recycled;
    for (const std::string& name : c.packs_recycled) recycled.push_back(w.pack(name));
    EXPECT_EQ(w.disk.recycled, recycled);
    EXPECT_EQ(w.message(), c.message);
    const bool succeeded = c.message == "皮肤删除成功！";
    if (succeeded) EXPECT_EQ(w.list.selection(), -1);
    if (w.disk.files.count("D:\\Windows\\win.zip")) EXPECT_EQ(w.disk.files["D:\\Windows\\win.zip"], "keep");
  }
}

TEST(RestoreDefault, WritesTheStockListThenQuits) {
  World w;
  w.disk.files[w.list_path()] = "Aatrox.zip\r\nSkinA.zip";
  w.list.rows = {{"SkinA", kMounted}};
  restore_default(w.ctx);
  EXPECT_EQ(w.file(w.list_path()), default_mount_list());
  EXPECT_TRUE(w.program.hidden);
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].text, "恢复默认成功，软件已退出，请重新运行！");
  EXPECT_EQ(w.messages.shown[0].kind, MessageKind::information);
  EXPECT_EQ(w.messages.shown[0].title, "信息：");
  EXPECT_EQ(w.program.exit_code, 0);
  EXPECT_EQ(w.program.messages_at_exit, 1u);  // the user saw the message before the end
  EXPECT_EQ(w.list.rows, (Rows{{"SkinA", kMounted}}));
}

TEST(RestoreDefault, AFailureIsReportedWithItsReasonAndTheProgramGoesOn) {
  struct Case { const char* what; std::function<void(World&)> fault; std::string reason; };
  const Case cases[] = {
      {"read-only", [](World& w) { w.disk.write_errors[w.list_path()] = e::kFileReadOnly; }, kReasonReadOnly},
      {"held by the game", [](World& w) { w.disk.write_errors[w.list_path()] = e::kSharingViolation; }, kInUse},
      {"no Game folder", [](World& w) { w.disk.folders.clear(); }, kReasonNoGameFolder},
      {"no install folder", [](World& w) { w.install_folder.clear(); w.disk.folders.insert("\\Game"); },
       kReasonNoGameFolder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.disk.files[w.list_path()] = "Aatrox.zip\r\nSkinA.zip";
    c.fault(w);
    restore_default(w.ctx);
    EXPECT_EQ(w.file(mount_list_path("D:\\LOL")), "Aatrox.zip\r\nSkinA.zip");
    EXPECT_FALSE(w.disk.files.count("\\Game\\ClientZips.txt"));
    EXPECT_FALSE(w.program.hidden);
    EXPECT_EQ(w.program.exit_code, -100);
    EXPECT_EQ(w.message(), failed("恢复默认失败！", c.reason));
    EXPECT_EQ(w.messages.shown[0].kind, MessageKind::failure);
  }
}

}  // namespace
}  // namespace km
