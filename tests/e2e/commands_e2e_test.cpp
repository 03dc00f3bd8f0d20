// Mount, Unmount and Delete on the real program, and where it finds the game.
#include <windows.h>
#include <gtest/gtest.h>

#include "driver.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const char kMountList[] = "ClientZips.txt";
const char kInUse[] = "文件正被其他程序使用（游戏是否正在运行？）";

std::string game_listing(const GameInstall& game) { return testing::folder_listing(game.folder() + "\\Game"); }

TEST(Commands, MountAndUnmountWriteExactBytes) {
  GameInstall game;
  game.write(kCatalogue, catalogue_of({"Other", "SkinA"}));
  game.write("Other.zip", "PK");
  game.write("SkinA.zip", "PK");
  const std::string list("Other.zip\nAatrox.zip\0z\nEnd.zip", 30);
  game.write(kMountList, list);
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"Other", "已挂载"}, {"SkinA", "未挂载"}}));

  program->select(1);
  MessageBoxSeen box = program->press("挂载皮肤");
  EXPECT_EQ(box.text, "挂载皮肤成功！");
  EXPECT_EQ(box.caption, "信息：");
  EXPECT_EQ(game.read(kMountList), list + "\r\nSkinA.zip");
  EXPECT_EQ(program->rows()[1][1], "已挂载");

  program->select(0);  // its entry is the first line
  EXPECT_EQ(program->press("卸载皮肤").text, "卸载皮肤成功！");
  EXPECT_EQ(game.read(kMountList), std::string("Aatrox.zip\0z\nEnd.zip\r\nSkinA.zip", 31));
  EXPECT_EQ(program->rows()[0][1], "未挂载");
  EXPECT_EQ(program->press("卸载皮肤").text, "未找到卸载皮肤！");
}

TEST(Commands, AListTheProgramCannotWriteChangesNothingAndSaysWhy) {
  struct Case { const char* what; bool read_only; DWORD share; std::string message; };
  const Case cases[] = {
      {"read-only", true, 0, "皮肤挂载失败！\r\n文件是只读的"},
      {"held open by the game", false, FILE_SHARE_READ, std::string("皮肤挂载失败！\r\n") + kInUse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameInstall game;
    game.write(kCatalogue, catalogue_of({"SkinA"}));
    game.write("SkinA.zip", "PK");
    game.write(kMountList, "Aatrox.zip\r\nAzir.zip");
    const std::string path = game.game_path(kMountList);
    auto program = Program::start(game.folder());
    ASSERT_TRUE(program);
    const std::string before = game_listing(game);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.read_only) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    else held = CreateFileA(path.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);

    program->select(0);
    EXPECT_EQ(program->press("挂载皮肤").text, c.message);
    EXPECT_EQ(program->rows()[0][1], "未挂载");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(game.read(kMountList), "Aatrox.zip\r\nAzir.zip");
    EXPECT_EQ(game_listing(game), before);  // no temporary file left behind
  }
}

TEST(Commands, DeleteTheFirstOfThreeSkins) {
  GameInstall game;
  game.write(kCatalogue, catalogue_of({"A", "B", "C"}));
  for (const char* pack : {"A.zip", "B.zip", "C.zip"}) game.write(pack, "PK");
  game.write(kMountList, "Aatrox.zip\r\nA.zip\r\nB.zip\r\nA.zip");
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);

  program->select(0);
  EXPECT_EQ(program->press("删除皮肤").text, "皮肤删除成功！");
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"B", "已挂载"}, {"C", "未挂载"}}));
  EXPECT_EQ(program->selection(), -1);
  EXPECT_EQ(game.read(kCatalogue), "[皮肤包]\r\n英雄1=B\r\n英雄2=C\r\n");
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip\r\nB.zip");
  EXPECT_EQ(game_listing(game), "B.zip;C.zip;ClientZips.txt;皮肤.ini;");
  EXPECT_EQ(program->press("删除皮肤").text, "未找到删除皮肤！");
}

TEST(Commands, DeleteOfAPackHeldOpenLeavesTheGameSafe) {
  GameInstall game;
  const std::string catalogue = catalogue_of({"A", "B"});
  game.write(kCatalogue, catalogue);
  game.write("A.zip", "PK");
  game.write(kMountList, "Aatrox.zip\r\nA.zip");
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  const std::string before = game_listing(game);

  HANDLE held = CreateFileA(game.game_path("A.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  program->select(0);
  EXPECT_EQ(program->press("删除皮肤").text, std::string("皮肤删除失败！\r\n") + kInUse);
  CloseHandle(held);
  // The game no longer loads the pack; the skin stays listed and catalogued, to be deleted again.
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip");
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"A", "未挂载"}, {"B", "未挂载"}}));
  EXPECT_EQ(game.read(kCatalogue), catalogue);
  EXPECT_EQ(game_listing(game), before);

  program->select(0);
  EXPECT_EQ(program->press("删除皮肤").text, "皮肤删除成功！");
  EXPECT_EQ(game.read("A.zip"), "<missing>");
  EXPECT_EQ(game.read(kCatalogue), "[皮肤包]\r\n英雄1=B\r\n");
}

TEST(Commands, DeleteNeverTouchesAFileOutsideTheGameFolder) {
  GameInstall game;
  game.write(kCatalogue, catalogue_of({"..\\outside"}));
  const std::string outside = game.folder() + "\\outside.zip";
  ASSERT_TRUE(testing::write_bytes(outside, "the user's own file"));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  program->select(0);
  EXPECT_EQ(program->press("挂载皮肤").text, "皮肤挂载失败！\r\n皮肤名称含有路径字符");
  EXPECT_EQ(program->press("删除皮肤").text, "皮肤删除成功！");
  EXPECT_EQ(testing::read_bytes(outside), "the user's own file");
  EXPECT_EQ(game.read(kCatalogue), "<missing>");
  EXPECT_TRUE(program->rows().empty());
}

TEST(Commands, AnUnreadableCatalogueIsSaidOnceAndNeverRewritten) {
  GameInstall game;
  const std::string catalogue = catalogue_of({"A"});
  game.write(kCatalogue, catalogue);
  game.write("A.zip", "PK");
  HANDLE held = CreateFileA(game.game_path(kCatalogue).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string folder = game.folder();
  auto program = Program::launch(&folder);
  ASSERT_TRUE(program);
  MessageBoxSeen box = program->wait_message_box();
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, std::string("无法读取皮肤列表文件 皮肤.ini\r\n") + kInUse);
  EXPECT_EQ(box.caption, "信息：");
  program->answer(box, IDOK);
  ASSERT_TRUE(program->wait_main_window(6000));
  EXPECT_TRUE(program->rows().empty());
  CloseHandle(held);
  EXPECT_EQ(program->press("删除皮肤").text, "未找到删除皮肤！");
  EXPECT_EQ(game.read(kCatalogue), catalogue);
}

TEST(GameLocation, WithoutTheRegistryValueTheUserChoosesOnceAndItIsRemembered) {
  GameInstall game;
  game.write(kCatalogue, catalogue_of({"SkinA"}));
  auto program = Program::launch(nullptr);
  ASSERT_TRUE(program);
  MessageBoxSeen question = program->wait_message_box();
  ASSERT_TRUE(question.hwnd);
  EXPECT_EQ(question.text, "未找到英雄联盟的安装目录，请选择游戏安装目录（包含 Game 文件夹的目录）");
  EXPECT_EQ(question.caption, "信息：");
  program->answer(question, IDOK);

  // A folder without Game: asked again.
  HWND picker = program->wait_folder_picker();
  ASSERT_TRUE(picker);
  program->choose_folder(picker, "C:\\windows");
  question = program->wait_message_box();
  ASSERT_TRUE(question.hwnd);
  EXPECT_EQ(question.text, "未找到英雄联盟的安装目录，请选择游戏安装目录（包含 Game 文件夹的目录）");
  program->answer(question, IDOK);

  // The Game folder itself stands for the install folder.
  picker = program->wait_folder_picker();
  ASSERT_TRUE(picker);
  program->choose_folder(picker, game.folder() + "\\Game");
  ASSERT_TRUE(program->wait_main_window(6000));
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"SkinA", "未挂载"}}));
  EXPECT_EQ(remembered_install_folder(), game.folder());
  program.reset();

  // The next start finds it without asking.
  auto again = Program::launch(nullptr, /*keep_remembered=*/true);
  ASSERT_TRUE(again);
  ASSERT_TRUE(again->wait_main_window(6000));
  EXPECT_EQ(again->rows(), (std::vector<Row>{{"SkinA", "未挂载"}}));
  forget_install_folders();
}

TEST(GameLocation, CancelLeavesAnEmptyListAndNoGuessedFolder) {
  auto program = Program::launch(nullptr);
  ASSERT_TRUE(program);
  MessageBoxSeen question = program->wait_message_box();
  ASSERT_TRUE(question.hwnd);
  program->answer(question, IDOK);
  HWND picker = program->wait_folder_picker();
  ASSERT_TRUE(picker);
  program->cancel_folder_picker(picker);
  ASSERT_TRUE(program->wait_main_window(6000));
  EXPECT_TRUE(program->rows().empty());
  EXPECT_EQ(remembered_install_folder(), "<none>");
  EXPECT_EQ(program->press("恢复默认").text, "恢复默认失败！\r\n找不到游戏目录");
  EXPECT_EQ(program->press("挂载皮肤").text, "未找到挂载皮肤！");
  EXPECT_TRUE(program->running());
}

}  // namespace
}  // namespace km::e2e
