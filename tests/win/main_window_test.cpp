#include "ui/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "ui/main_window_layout.h"
#include "win32/fatal_stop.h"

namespace km {
namespace {

RECT client_rect_of(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string window_text(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  fakes::FakeDisk disk;
  fakes::FakeUserMessages messages;
  fakes::FakeProgram program;
  struct NoClose : CloseRequests {
    bool close_requested() override { return false; }
  } close_requests;
  MainWindow window{GetModuleHandleA(nullptr), MainWindow::Services{"", disk, messages, program, close_requests}};
  void SetUp() override { ASSERT_TRUE(window.create()); }
};

TEST(MainWindowLayout, TableScalesWithDpi) {
  const RECT list96 = control_rect(kMainWindowControls[2], 96);
  EXPECT_EQ(list96.left, -1);
  EXPECT_EQ(list96.top, 23);
  EXPECT_EQ(list96.right, 306);
  EXPECT_EQ(list96.bottom, 367);
  const RECT button144 = control_rect(kMainWindowControls[6], 144);
  EXPECT_EQ(button144.left, 344);   // 229 * 1.5, rounded
  EXPECT_EQ(button144.top, 552);
  EXPECT_EQ(button144.right - button144.left, 113);
  EXPECT_EQ(button144.bottom - button144.top, 45);
}

TEST_F(MainWindowTest, WindowAndControlsAreWhereTheTableSays) {
  HWND hwnd = window.hwnd();
  EXPECT_FALSE(IsWindowVisible(hwnd));  // shown only after the creation sequence
  EXPECT_EQ(window_text(hwnd), "Kestrin-Marquelle");

  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.right - outer.left, 311);
  EXPECT_EQ(outer.bottom - outer.top, 427);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 311) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 427) / 2);

  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  for (const ControlSpec& layout : kMainWindowControls) {
    HWND control = GetDlgItem(hwnd, layout.id);
    ASSERT_TRUE(control) << layout.id;
    const RECT r = client_rect_of(control);
    EXPECT_EQ(r.left, layout.x) << layout.id;
    EXPECT_EQ(r.top, layout.y) << layout.id;
    EXPECT_EQ(r.right - r.left, layout.width) << layout.id;
    EXPECT_EQ(r.bottom - r.top, layout.height) << layout.id;
    if (layout.kind == ControlKind::button || layout.kind == ControlKind::label)
      EXPECT_EQ(window_text(control), layout.text);
    if (layout.kind == ControlKind::button) {
      EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
      EXPECT_FALSE(GetWindowLongA(control, GWL_STYLE) & BS_DEFPUSHBUTTON);
    }
  }
  EXPECT_EQ(window_text(GetDlgItem(hwnd, kHintLabelId)).size(), 54u);
}

TEST_F(MainWindowTest, ListHasTwoFixedColumnsAndOneSelection) {
  HWND list = window.list_control();
  const LONG style = GetWindowLongA(list, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_NOSORTHEADER);
  EXPECT_FALSE(style & (LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING));
  EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  const LRESULT ex = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(ex & (LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_TRACKSELECT));

  const char* captions[] = {"皮肤文件名", "挂载状态"};
  const int widths[] = {186, 100};
  const int formats[] = {LVCFMT_LEFT, LVCFMT_CENTER};
  for (int i = 0; i < 2; ++i) {
    char text[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, captions[i]);
    EXPECT_EQ(column.cx, widths[i]);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, formats[i]);
  }
  EXPECT_EQ(window.commands().list.row_count(), 0);
  EXPECT_EQ(window.commands().list.selection(), -1);
}

TEST_F(MainWindowTest, ListControlOperations) {
  SkinList& list = window.commands().list;
  const std::string long_name(1000, '\xB0');  // longer than any fixed buffer, GBK lead bytes
  EXPECT_EQ(list.append_row(), 0);
  EXPECT_EQ(list.append_row(), 1);
  EXPECT_EQ(list.append_row(), 2);
  list.set_cell(0, kNameColumn, "A,B");
  list.set_cell(1, kNameColumn, long_name.substr(0, 998) + "ab");
  list.set_cell(1, kStatusColumn, kMounted);
  list.set_cell(5, kNameColumn, "nowhere");  // a missing row: nothing happens
  EXPECT_EQ(list.cell(0, kNameColumn), "A,B");
  EXPECT_EQ(list.cell(0, kStatusColumn), "");
  EXPECT_EQ(list.cell(1, kNameColumn), long_name.substr(0, 998) + "ab");
  EXPECT_EQ(list.cell(1, kStatusColumn), kMounted);
  EXPECT_EQ(list.cell(5, kNameColumn), "");
  EXPECT_EQ(list.row_count(), 3);

  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(window.list_control(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(list.selection(), 1);
  list.delete_row(0);
  EXPECT_EQ(list.selection(), 0);  // the selected row moved up with the others
  list.delete_row(0);
  EXPECT_EQ(list.selection(), -1);  // the selected row is gone: nothing is selected
  EXPECT_EQ(list.cell(0, kNameColumn), "");
  EXPECT_EQ(list.row_count(), 1);
}

// The fatal stop ends the process with exit code -1 after an error box; it runs in a child copy of
// this test program, and the parent closes the box.
TEST(FatalStop, ChildProcess) {
  if (!GetEnvironmentVariableA("KM_FATAL_STOP_CHILD", nullptr, 0)) GTEST_SKIP() << "runs only as a child";
  fatal_stop("测试中的致命错误");
}

struct FindBox {
  DWORD pid;
  HWND box = nullptr;
};

TEST(FatalStop, ShowsAnErrorBoxAndExitsWithMinusOne) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --gtest_filter=FatalStop.ChildProcess";
  SetEnvironmentVariableA("KM_FATAL_STOP_CHILD", "1");
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                      &process);
  SetEnvironmentVariableA("KM_FATAL_STOP_CHILD", nullptr);
  ASSERT_TRUE(started);

  FindBox find{process.dwProcessId};
  for (int i = 0; i < 200 && !find.box; ++i) {
    Sleep(50);
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
          auto* f = reinterpret_cast<FindBox*>(param);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          char cls[32] = {};
          GetClassNameA(hwnd, cls, sizeof cls);
          if (pid == f->pid && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
            f->box = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
  }
  ASSERT_TRUE(find.box) << "no error box";
  char text[512] = {};
  GetDlgItemTextA(find.box, 0xFFFF, text, sizeof text);
  EXPECT_NE(std::string(text).find("测试中的致命错误"), std::string::npos) << text;
  PostMessageA(GetDlgItem(find.box, IDOK), BM_CLICK, 0, 0);

  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, static_cast<DWORD>(-1));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace km
