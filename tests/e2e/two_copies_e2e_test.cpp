// Two copies of the program on one install: each command reads the files afresh and holds the
// game files' lock around its read-modify-write, so neither loses the other's change.
#include <windows.h>
#include <gtest/gtest.h>

#include <thread>

#include "drag.h"
#include "driver.h"
#include "gamefiles/disk_win32.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const char kMountList[] = "ClientZips.txt";

struct TwoCopies {
  GameInstall game;
  std::unique_ptr<Program> first, second;
  explicit TwoCopies(const std::string& catalogue) {
    game.write(kCatalogue, catalogue);
    for (const char* pack : {"A.zip", "B.zip", "C.zip"}) game.write(pack, "PK");
    game.write(kMountList, "Aatrox.zip");
    first = Program::start(game.folder());
    second = Program::start(game.folder());
  }
};

TEST(TwoCopies, MountInOneAndUnmountInTheOtherLeaveTheListRight) {
  TwoCopies two("[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n");
  ASSERT_TRUE(two.first && two.second);
  two.first->select(0);
  EXPECT_EQ(two.first->press("挂载皮肤").text, "挂载皮肤成功！");
  two.second->select(1);
  EXPECT_EQ(two.second->press("挂载皮肤").text, "挂载皮肤成功！");
  EXPECT_EQ(two.game.read(kMountList), "Aatrox.zip\r\nA.zip\r\nB.zip");
  // The second copy still shows A as not mounted; Unmount goes by the file.
  two.second->select(0);
  EXPECT_EQ(two.second->press("卸载皮肤").text, "卸载皮肤成功！");
  EXPECT_EQ(two.game.read(kMountList), "Aatrox.zip\r\nB.zip");
}

TEST(TwoCopies, AMountAfterADeleteInTheOtherCopyIsRefused) {
  TwoCopies two("[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n");
  ASSERT_TRUE(two.first && two.second);
  two.first->select(0);
  EXPECT_EQ(two.first->press("删除皮肤").text, "皮肤删除成功！");
  two.second->select(0);
  EXPECT_EQ(two.second->press("挂载皮肤").text, "皮肤挂载失败！\r\n游戏目录中没有 A.zip，请重新导入");
  EXPECT_EQ(two.game.read(kMountList), "Aatrox.zip");
}

TEST(TwoCopies, DeleteRemovesTheValueItsRowShows) {
  TwoCopies two("[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄3=C\r\n");
  ASSERT_TRUE(two.first && two.second);
  two.second->select(0);
  EXPECT_EQ(two.second->press("删除皮肤").text, "皮肤删除成功！");
  // The first copy still lists A, B, C: its row 1 is B, which now stands at position 1.
  two.first->select(1);
  EXPECT_EQ(two.first->press("删除皮肤").text, "皮肤删除成功！");
  EXPECT_EQ(two.game.read(kCatalogue), "[皮肤包]\r\n英雄1=C\r\n");
}

TEST(TwoCopies, ACommandWaitsWhileTheOtherCopyHoldsTheGameFiles) {
  GameInstall game;
  game.write(kCatalogue, "[皮肤包]\r\n英雄1=A\r\n");
  game.write("A.zip", "PK");
  game.write(kMountList, "Aatrox.zip");
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  program->select(0);

  // The program made the mutex already: opening it gives no ownership, waiting does.
  HANDLE other_copy = CreateMutexA(nullptr, FALSE, kGameFilesMutexName);
  ASSERT_TRUE(other_copy);
  ASSERT_EQ(WaitForSingleObject(other_copy, 0), WAIT_OBJECT_0);
  PostMessageA(program->button("挂载皮肤"), BM_CLICK, 0, 0);
  Sleep(700);
  EXPECT_FALSE(program->wait_message_box(0).hwnd);
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip");
  ReleaseMutex(other_copy);
  MessageBoxSeen box = program->wait_message_box();
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "挂载皮肤成功！");
  program->answer(box, IDOK);
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip\r\nA.zip");
  CloseHandle(other_copy);
}

// Another copy importing at the same moment: it holds the lock while it writes its catalogue line;
// our import waits, then reads the catalogue with that line in it and adds its own after it.
TEST(TwoCopies, ImportsAtTheSameMomentBothEndUpCatalogued) {
  GameInstall game;
  game.write(kCatalogue, "[皮肤包]\r\n英雄1=A\r\n");
  testing::TempFolder packs;
  const std::string pack = packs.path() + "\\C.zip";
  ASSERT_TRUE(testing::write_bytes(pack, small_zip()));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);

  HANDLE holding = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread other_copy([&] {
    HANDLE lock = CreateMutexA(nullptr, FALSE, kGameFilesMutexName);
    WaitForSingleObject(lock, INFINITE);
    SetEvent(holding);
    Sleep(1000);  // long enough for the drop to arrive and wait
    game.write("B.zip", small_zip());
    game.write(kCatalogue, "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n");
    ReleaseMutex(lock);
    CloseHandle(lock);
  });
  WaitForSingleObject(holding, 5000);
  EXPECT_EQ(drag_files(program->window(), {pack}), kDropNotPerformed);
  other_copy.join();
  CloseHandle(holding);
  EXPECT_EQ(game.read(kCatalogue), "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n英雄3=C\r\n");
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"A", "未挂载"}, {"C", "未挂载"}}));
  // Its rows and the catalogue's positions now differ; Delete goes by the row's own name.
  program->select(1);
  EXPECT_EQ(program->press("删除皮肤").text, "皮肤删除成功！");
  EXPECT_EQ(game.read(kCatalogue), "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n");
}

}  // namespace
}  // namespace km::e2e
