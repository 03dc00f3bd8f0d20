// The real program, started on fixture installs and worked from this process.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <thread>

#include "driver.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const char kMountList[] = "ClientZips.txt";
const std::string kMounted = "已挂载";
const std::string kNotMounted = "未挂载";

std::string catalogue_text(const std::vector<std::pair<int, std::string>>& slots) {
  std::string text = "[皮肤包]\r\n";
  for (const auto& [slot, value] : slots) text += "英雄" + std::to_string(slot) + "=" + value + "\r\n";
  return text;
}

void close_with_yes(Program& program) {
  PostMessageA(program.window(), WM_CLOSE, 0, 0);
  MessageBoxSeen box = program.wait_message_box();
  ASSERT_TRUE(box.hwnd);
  program.answer(box, IDYES);
  DWORD code = 1234;
  ASSERT_TRUE(program.wait_exit(5000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(MainWindow, ShowsTheWindowAndEveryCatalogueValue) {
  GameInstall game;
  // A hand-edited catalogue: a gap after slot 2, a value with a comma.
  game.write(kCatalogue, catalogue_text({{1, "Ahri"}, {2, "A,B"}, {4, "SkinA"}, {5, "Yasuo"}}));
  const std::string mount_list = "Ahri.zip\r\nAatrox.zip\r\nMySkinA.zip\r\nA,B.zip\r\nyasuo.zip";
  game.write(kMountList, mount_list);

  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);

  RECT outer;
  GetWindowRect(program->window(), &outer);
  EXPECT_EQ(outer.right - outer.left, 311);
  EXPECT_EQ(outer.bottom - outer.top, 427);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 311) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 427) / 2);

  struct Expected { const char* class_name; const char* text; int x, y, w, h; };
  const Expected expected[] = {
      {"Static", "     请将皮肤压缩包直接拖入下方列表里,可进行更多操作  ", 3, 2, 337, 20},
      {"Static", "", 2, 4, 17, 17},
      {"SysListView32", "", -1, 23, 307, 344},
      {"Button", "挂载皮肤", 1, 368, 75, 30},
      {"Button", "卸载皮肤", 77, 368, 75, 30},
      {"Button", "删除皮肤", 153, 368, 75, 30},
      {"Button", "恢复默认", 229, 368, 75, 30},
  };
  const std::vector<Control> controls = program->controls();
  for (const Expected& e : expected) {
    bool found = false;
    for (const Control& c : controls) {
      if (c.class_name != e.class_name || c.text != e.text || c.rect.left != e.x || c.rect.top != e.y) continue;
      found = true;
      EXPECT_EQ(c.rect.right - c.rect.left, e.w) << e.text;
      EXPECT_EQ(c.rect.bottom - c.rect.top, e.h) << e.text;
    }
    EXPECT_TRUE(found) << e.class_name << " \"" << e.text << "\" at " << e.x << "," << e.y;
  }

  EXPECT_EQ(program->column_caption(0), "皮肤文件名");
  EXPECT_EQ(program->column_caption(1), "挂载状态");
  EXPECT_EQ(program->column_width(0), 186);
  EXPECT_EQ(program->column_width(1), 100);

  // Every filled slot in slot order, whole values, whole-line mount entries (the first line counts,
  // a longer line ending in the name and a line in another case do not).
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"Ahri", kMounted},
                                                {"A,B", kMounted},
                                                {"SkinA", kNotMounted},
                                                {"Yasuo", kNotMounted}}));
  EXPECT_EQ(program->selection(), -1);

  close_with_yes(*program);
  EXPECT_EQ(game.read(kMountList), mount_list);
  EXPECT_EQ(game.read(kCatalogue), catalogue_text({{1, "Ahri"}, {2, "A,B"}, {4, "SkinA"}, {5, "Yasuo"}}));
}

TEST(MainWindow, WithoutMountListEverySkinIsNotMounted) {
  GameInstall game;
  game.write(kCatalogue, catalogue_text({{1, "Ahri"}, {2, "Jinx"}}));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(program->rows(), (std::vector<Row>{{"Ahri", kNotMounted}, {"Jinx", kNotMounted}}));
  close_with_yes(*program);
  EXPECT_EQ(game.read(kMountList), "<missing>");
}

TEST(MainWindow, EveryCloseRequestAsksFirst) {
  GameInstall game;
  game.write(kCatalogue, catalogue_text({{1, "Ahri"}}));
  game.write(kMountList, "Aatrox.zip\r\nAhri.zip");
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  program->select(0);

  // The caption's close button, and Esc in the list: the same question; No keeps everything.
  const auto ask_and_refuse = [&](const char* how) {
    SCOPED_TRACE(how);
    MessageBoxSeen box = program->wait_message_box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "确认关闭软件？");
    EXPECT_EQ(box.text, "软件正在运行，你确认要关闭吗？");
    EXPECT_TRUE(GetDlgItem(box.hwnd, IDYES));
    program->answer(box, IDNO);
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(IsWindowVisible(program->window()));
    EXPECT_EQ(program->rows(), (std::vector<Row>{{"Ahri", kMounted}}));
    EXPECT_EQ(program->selection(), 0);
  };
  PostMessageA(program->window(), WM_CLOSE, 0, 0);
  ask_and_refuse("close button");
  PostMessageA(program->list(), WM_KEYDOWN, VK_ESCAPE, 0);
  ask_and_refuse("Esc");
  PostMessageA(program->button("挂载皮肤"), WM_KEYDOWN, VK_ESCAPE, 0);
  ask_and_refuse("Esc on a button");

  // Log-off: No makes the program refuse it.
  DWORD_PTR answer = 1;
  std::thread query([&] {
    SendMessageTimeoutA(program->window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  });
  ask_and_refuse("log-off");
  query.join();
  EXPECT_EQ(answer, 0u);

  close_with_yes(*program);
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip\r\nAhri.zip");
  EXPECT_EQ(game.read(kCatalogue), catalogue_text({{1, "Ahri"}}));
}

TEST(MainWindow, RestoreDefaultWritesTheStockListAndQuits) {
  GameInstall game;
  game.write(kCatalogue, catalogue_text({{1, "SkinA"}, {2, "SkinB"}}));
  game.write(kMountList, default_mount_list_bytes() + "\r\nSkinA.zip\r\nSkinB.zip");
  game.write("SkinA.zip", "pack");
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);
  EXPECT_EQ(program->selection(), -1);  // needs no selection

  PostMessageA(program->button("恢复默认"), BM_CLICK, 0, 0);
  MessageBoxSeen box = program->wait_message_box();
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "恢复默认成功，软件已退出，请重新运行！");
  EXPECT_EQ(box.caption, "信息：");
  EXPECT_FALSE(IsWindowVisible(program->window()));
  EXPECT_EQ(game.read(kMountList), default_mount_list_bytes());
  EXPECT_EQ(game.read(kMountList).size(), 667u);
  program->answer(box, IDOK);
  DWORD code = 1234;
  ASSERT_TRUE(program->wait_exit(5000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(game.read(kCatalogue), catalogue_text({{1, "SkinA"}, {2, "SkinB"}}));
  EXPECT_EQ(game.read("SkinA.zip"), "pack");

  // Started again, every status comes from the stock list.
  auto again = Program::start(game.folder());
  ASSERT_TRUE(again);
  EXPECT_EQ(again->rows(), (std::vector<Row>{{"SkinA", kNotMounted}, {"SkinB", kNotMounted}}));
  close_with_yes(*again);
}

TEST(MainWindow, RestoreDefaultThatCannotWriteSaysSoAndGoesOn) {
  GameInstall game;
  game.write(kMountList, "Aatrox.zip\r\nSkinA.zip");
  ASSERT_TRUE(SetFileAttributesA(game.game_path(kMountList).c_str(), FILE_ATTRIBUTE_READONLY));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);

  PostMessageA(program->button("恢复默认"), BM_CLICK, 0, 0);
  MessageBoxSeen box = program->wait_message_box();
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "恢复默认失败！\r\n文件是只读的");
  EXPECT_EQ(box.caption, "信息：");
  program->answer(box, IDOK);
  Sleep(200);
  EXPECT_TRUE(program->running());
  EXPECT_TRUE(IsWindowVisible(program->window()));
  EXPECT_EQ(game.read(kMountList), "Aatrox.zip\r\nSkinA.zip");
  SetFileAttributesA(game.game_path(kMountList).c_str(), FILE_ATTRIBUTE_NORMAL);
  close_with_yes(*program);
}

TEST(MainWindow, PopupMenuOpensOnlyOnASelectedRow) {
  GameInstall game;
  game.write(kCatalogue, catalogue_text({{1, "Ahri"}, {2, "Jinx"}}));
  auto program = Program::start(game.folder());
  ASSERT_TRUE(program);

  const auto right_click = [&](POINT p) {
    const LPARAM where = MAKELPARAM(p.x, p.y);
    PostMessageA(program->list(), WM_RBUTTONDOWN, MK_RBUTTON, where);
    PostMessageA(program->list(), WM_RBUTTONUP, 0, where);
  };
  RECT list_client;
  GetClientRect(program->list(), &list_client);
  right_click({20, list_client.bottom - 10});  // below the rows: nothing is selected
  EXPECT_FALSE(program->wait_popup_menu(700));
  EXPECT_EQ(program->selection(), -1);

  const RECT row = program->row_rect(1);
  right_click({row.left + 20, (row.top + row.bottom) / 2});
  HWND menu = program->wait_popup_menu(3000);
  ASSERT_TRUE(menu);
  EXPECT_EQ(program->selection(), 1);  // the right click selected the row
  POINT cursor;
  GetCursorPos(&cursor);
  RECT at;
  GetWindowRect(menu, &at);
  EXPECT_EQ(at.left, cursor.x + 3);  // 3 pixels right of and below the pointer
  EXPECT_EQ(at.top, cursor.y + 3);
  const ScreenPicture shown = picture_of(menu);
  // Esc dismisses the menu: nothing runs.
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  for (int i = 0; i < 100 && IsWindowVisible(menu); ++i) Sleep(20);
  EXPECT_FALSE(program->wait_message_box(300).hwnd);
  EXPECT_TRUE(program->running());
  // Its items are these seven: it looks exactly like a menu built with them.
  EXPECT_GT(shown.colour_count(), 2);
  EXPECT_TRUE(shown == reference_popup_menu({"挂载皮肤", "卸载皮肤", "删除皮肤", "恢复默认", nullptr, "关于软件", "BUG反馈"},
                                            {at.left, at.top}))
      << "the menu does not show the seven items";

  // The fourth item is "恢复默认": it runs the same command as the button.
  right_click({row.left + 20, (row.top + row.bottom) / 2});
  menu = program->wait_popup_menu(3000);
  ASSERT_TRUE(menu);
  for (int i = 0; i < 4; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  MessageBoxSeen box = program->wait_message_box();
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "恢复默认成功，软件已退出，请重新运行！");
  EXPECT_EQ(game.read(kMountList), default_mount_list_bytes());
  program->answer(box, IDOK);
  DWORD code = 1234;
  ASSERT_TRUE(program->wait_exit(5000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace km::e2e
