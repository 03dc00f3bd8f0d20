// Import by a real OLE drag from this process onto the real program.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "drag.h"
#include "driver.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const std::string kFormatTitle = "信息:格式错误！";
const std::string kNotZipName = "请拖入ZIP格式文件               ";

TEST(ImportByDrop, APackOnTheSameDriveIsMovedInAndListed) {
  GameInstall game;
  testing::TempFolder packs;
  const std::string pack = packs.path() + "\\阿狸.zip";
  ASSERT_TRUE(testing::write_bytes(pack, small_zip()));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(drag_files(program->window(), {pack}), kDropNotPerformed);
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
    EXPECT_EQ(drag.wait(&effect), kDropNotPerformed);
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

// ./test maps a drive letter to a folder on another file system (KM_OTHER_VOLUME_DRIVE): there the pack
// cannot be renamed into the Game folder and is copied, after the drop has returned.
std::string other_volume_folder() {
  const char* drive = std::getenv("KM_OTHER_VOLUME_DRIVE");
  if (!drive || !*drive) return {};
  const std::string folder = std::string(drive) + "\\import-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(ImportByDrop, APackFromAnotherDriveIsCopiedIn) {
  const std::string other = other_volume_folder();
  ASSERT_FALSE(other.empty()) << "no other volume: ./test maps one (KM_OTHER_VOLUME_DRIVE)";
  GameInstall game;
  const std::string pack = other + "\\远方.zip";
  ASSERT_TRUE(testing::write_bytes(pack, small_zip()));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(drag_files(program->window(), {pack}), kDropNotPerformed);
  for (int i = 0; i < 250 && program->rows().empty(); ++i) Sleep(20);
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"远方", "未挂载"}}));
  EXPECT_EQ(game.read("远方.zip"), small_zip());
  EXPECT_EQ(game.read(kCatalogue), catalogue_of({"远方"}));
  EXPECT_EQ(testing::read_bytes(pack), "<missing>");  // it left its place once the import was done
  EXPECT_FALSE(program->wait_message_box(300).hwnd);
  testing::remove_tree(other);
}

TEST(ImportByDrop, ALongCopyKeepsTheWindowAnsweringAndCancelLeavesEverythingAsItWas) {
  const std::string other = other_volume_folder();
  ASSERT_FALSE(other.empty()) << "no other volume: ./test maps one (KM_OTHER_VOLUME_DRIVE)";
  GameInstall game;
  game.write(kCatalogue, catalogue_of({"Lux"}));
  game.write("Lux.zip", small_zip());
  const std::string pack = other + "\\Big.zip";
  ASSERT_TRUE(write_large_zip(pack, 3ull << 30));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  const std::string listing = testing::folder_listing(game.folder() + "\\Game");

  FileDrag drag(program->window(), {pack});
  EXPECT_EQ(drag.wait(nullptr, 5000), kDropNotPerformed);  // the drop returned before the copy
  HWND progress = program->wait_window("KestrinMarquelleImportProgress", "正在导入皮肤", 5000);
  ASSERT_TRUE(progress) << "no progress window";
  // The main window goes on answering while the copy runs.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(program->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &answer));
  PostMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
  for (int i = 0; i < 500 && IsWindow(progress); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(progress));

  EXPECT_FALSE(program->wait_message_box(500).hwnd);  // Cancel is silent
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"Lux", "未挂载"}}));
  EXPECT_EQ(testing::folder_listing(game.folder() + "\\Game"), listing);  // no half copy left
  EXPECT_EQ(game.read(kCatalogue), catalogue_of({"Lux"}));
  WIN32_FILE_ATTRIBUTE_DATA source{};
  ASSERT_TRUE(GetFileAttributesExA(pack.c_str(), GetFileExInfoStandard, &source));
  const std::uint64_t size = (std::uint64_t{source.nFileSizeHigh} << 32) | source.nFileSizeLow;
  EXPECT_GT(size, 3ull << 30);  // the dropped file is still all there
  testing::remove_tree(other);
}

}  // namespace
}  // namespace km::e2e
