// Import by a real OLE drag from this process onto the real program.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "drag.h"
#include "driver.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const std::string kFormatTitle = "信息:格式错误！";
const std::string kNotZipName = "请拖入ZIP格式文件               ";

std::string catalogue_of(const std::vector<std::string>& names) {
  std::string text = "[皮肤包]\r\n";
  for (size_t i = 0; i < names.size(); ++i) text += "英雄" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
  return text;
}

TEST(ImportByDrop, APackOnTheSameDriveIsMovedInAndListed) {
  GameInstall game;
  testing::TempFolder packs;
  const std::string pack = packs.path() + "\\阿狸.zip";
  ASSERT_TRUE(testing::write_bytes(pack, small_zip()));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(drag_files(program->window(), {pack}), DRAGDROP_S_DROP);
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"阿狸", "未挂载"}}));
  EXPECT_EQ(game.read("阿狸.zip"), small_zip());
  EXPECT_EQ(testing::read_bytes(pack), "<missing>");
  EXPECT_EQ(game.read(kCatalogue), catalogue_of({"阿狸"}));
  EXPECT_FALSE(program->wait_message_box(300).hwnd);
}

// Every drop that must be refused or must change nothing, each on a fresh install: what the user
// is told, and that the list, the Game folder and the dropped files are as they were.
TEST(ImportByDrop, RefusalsAndReimports) {
  const std::string rar = std::string("Rar!\x1a\x07\x01\x00", 8) + std::string(200, 'r');
  const std::string format = kFormatTitle;
  struct Case {
    const char* what;
    std::vector<std::string> dropped;  // names in the packs folder; "Game\\x" for the Game folder
    std::string caption, text;         // empty: no message
    std::vector<Row> rows;
  };
  const Case cases[] = {
      {".ZIP", {"Ahri.ZIP"}, format, kNotZipName, {{"Lux", "已挂载"}}},
      {".rar", {"Ahri.rar"}, format, "软件暂时不支持RAR格式\r\n请先解压，然后重新压缩成ZIP格式再导入", {{"Lux", "已挂载"}}},
      {".RAR", {"Ahri.RAR"}, format, kNotZipName, {{"Lux", "已挂载"}}},
      {"two packs", {"Ahri.zip", "Nami.zip"}, format, kNotZipName, {{"Lux", "已挂载"}}},
      {"a folder named Packs.zip", {"Packs.zip"}, format, kNotZipName, {{"Lux", "已挂载"}}},
      {"a RAR renamed to .zip", {"Rar.zip"}, format, "文件不是有效的ZIP压缩包，请重新压缩成ZIP格式再导入", {{"Lux", "已挂载"}}},
      {"a file named .zip", {".zip"}, format, kNotZipName, {{"Lux", "已挂载"}}},
      {"the name of one of the game's archives", {"Jinx.zip"}, "信息：", "游戏目录中已存在同名文件，请改名后再导入！",
       {{"Lux", "已挂载"}}},
      {"a listed, mounted skin again: its pack replaced, nothing else", {"Lux.zip"}, "", "", {{"Lux", "已挂载"}}},
      {"the listed pack dropped from the Game folder", {"Game\\Lux.zip"}, "", "", {{"Lux", "已挂载"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameInstall game;
    game.write(kCatalogue, catalogue_of({"Lux"}));
    game.write("ClientZips.txt", "Jinx.zip\r\nLux.zip");
    game.write("Lux.zip", "old");
    game.write("Jinx.zip", "the game's own");
    testing::TempFolder packs;
    for (const char* name : {"Ahri.ZIP", "Ahri.rar", "Ahri.RAR", "Ahri.zip", "Nami.zip", ".zip", "Jinx.zip", "Lux.zip"})
      ASSERT_TRUE(testing::write_bytes(packs.path() + "\\" + name, small_zip()));
    ASSERT_TRUE(testing::write_bytes(packs.path() + "\\Rar.zip", rar));
    CreateDirectoryA((packs.path() + "\\Packs.zip").c_str(), nullptr);
    const std::string packs_before = testing::folder_listing(packs.path());
    if (std::string(c.what).find("Game folder") != std::string::npos) game.write("Lux.zip", small_zip());
    const std::string game_before = testing::folder_listing(game.folder() + "\\Game");

    std::vector<std::string> paths;
    for (const std::string& name : c.dropped)
      paths.push_back(name.rfind("Game\\", 0) == 0 ? game.game_path(name.substr(5)) : packs.path() + "\\" + name);
    auto program = Program::start(game.folder());
    ASSERT_TRUE(program);
    FileDrag drag(program->window(), paths);
    const MessageBoxSeen box = program->wait_message_box(c.text.empty() ? 2500 : 8000);
    if (c.text.empty()) {
      EXPECT_FALSE(box.hwnd) << box.text;
    } else {
      ASSERT_TRUE(box.hwnd);
      EXPECT_EQ(box.caption, c.caption);
      EXPECT_EQ(box.text, c.text);
      program->answer(box, IDOK);
    }
    DWORD effect = 99;
    EXPECT_EQ(drag.wait(&effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));  // the source never deletes its copy
    EXPECT_EQ(program->rows(), c.rows);
    EXPECT_EQ(game.read(kCatalogue), catalogue_of({"Lux"}));
    if (c.dropped[0] == "Lux.zip") {
      EXPECT_EQ(game.read("Lux.zip"), small_zip());
      EXPECT_EQ(testing::read_bytes(paths[0]), "<missing>");
    } else {
      EXPECT_EQ(testing::folder_listing(packs.path()), packs_before);
      EXPECT_EQ(testing::folder_listing(game.folder() + "\\Game"), game_before);
    }
  }
}

}  // namespace
}  // namespace km::e2e
