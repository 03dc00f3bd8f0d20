#include "ui/hyperlink_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/contact_link.h"

namespace km {
namespace {

// What the label asked to open, and what the stand-in opener answers.
std::vector<std::string> g_opened;
bool g_open_succeeds = false;

bool record_open(const std::string& link) {
  g_opened.push_back(link);
  return g_open_succeeds;
}

class HyperlinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_opened.clear();
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent_);
  }
  void TearDown() override { DestroyWindow(parent_); }

  // A label of 112 x 24 pixels at (10, 10) of the parent, at 96 DPI.
  void create(HyperlinkLabel& label) {
    ASSERT_TRUE(label.create(GetModuleHandleA(nullptr), parent_, 7, "联系客服", {10, 10, 122, 34}, 96));
  }
  static void move(HyperlinkLabel& label, int x, int y) {
    SendMessageA(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  static void press(HyperlinkLabel& label) {
    SendMessageA(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  }

  HWND parent_ = nullptr;
};

// One label worked through a sequence of pointer movements and presses; after each step its
// flags, its colour and who holds the mouse capture.
TEST_F(HyperlinkLabelTest, HoverAndVisitedFollowThePointerAndTheOpens) {
  HyperlinkLabel label("tencent://message/?uin=1", record_open);
  create(label);
  EXPECT_EQ(GetDlgItem(parent_, 7), label.hwnd());
  EXPECT_FALSE(label.hover());
  EXPECT_FALSE(label.visited());
  EXPECT_EQ(label.text_colour(), RGB(0, 136, 255));

  enum class Do { move, press, capture_elsewhere };
  struct Step {
    const char* what;
    Do action;
    int x, y;           // for a movement, label client coordinates
    bool open_succeeds;  // for a press
    bool hover, visited, captured;
    COLORREF colour;
  };
  const COLORREF normal = RGB(0, 136, 255), visited = RGB(0, 136, 255), hovered = RGB(0, 0, 255);
  const Step steps[] = {
      {"pointer enters", Do::move, 5, 5, false, true, false, true, hovered},
      {"pointer moves inside", Do::move, 100, 20, false, true, false, true, hovered},
      {"pointer on the last pixel", Do::move, 111, 23, false, true, false, true, hovered},
      {"pointer leaves to the right", Do::move, 112, 10, false, false, false, false, normal},
      {"pointer enters again", Do::move, 0, 0, false, true, false, true, hovered},
      {"pointer leaves above", Do::move, 10, -1, false, false, false, false, normal},
      {"press, the open succeeds", Do::press, 0, 0, true, false, true, false, visited},
      {"hover wins over visited", Do::move, 5, 5, false, true, true, true, hovered},
      {"another window takes the capture", Do::capture_elsewhere, 0, 0, false, false, true, false, visited},
      {"a movement inside takes it back", Do::move, 6, 6, false, true, true, true, hovered},
      {"pointer leaves below", Do::move, 6, 24, false, false, true, false, visited},
      {"press, the open fails", Do::press, 0, 0, false, false, false, false, normal},
      {"press, the open succeeds again", Do::press, 0, 0, true, false, true, false, visited},
  };
  size_t opens = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    switch (step.action) {
      case Do::move:
        move(label, step.x, step.y);
        break;
      case Do::press:
        g_open_succeeds = step.open_succeeds;
        press(label);
        ++opens;
        break;
      case Do::capture_elsewhere:
        SetCapture(parent_);
        break;
    }
    EXPECT_EQ(label.hover(), step.hover);
    EXPECT_EQ(label.visited(), step.visited);
    EXPECT_EQ(GetCapture() == label.hwnd(), step.captured);
    EXPECT_EQ(label.text_colour(), step.colour);
    ASSERT_EQ(g_opened.size(), opens);
  }
  ReleaseCapture();
  for (const std::string& link : g_opened) EXPECT_EQ(link, "tencent://message/?uin=1");
}

TEST_F(HyperlinkLabelTest, AnEmptyLinkIsAFailedOpen) {
  HyperlinkLabel label("", record_open);
  create(label);
  g_open_succeeds = true;
  press(label);
  EXPECT_TRUE(g_opened.empty());
  EXPECT_FALSE(label.visited());
}

TEST(ContactLink, FallbackCommandLineCutsAtThePlaceholder) {
  const std::string link = "tencent://message/?uin=1&Site=&Menu=yes";
  // Together longer than the 260 bytes a fixed buffer would hold.
  const std::string long_program = "\"C:\\" + std::string(300, 'p') + "\\browser.exe\"";
  const std::string long_link = link + "&x=" + std::string(300, 'x');
  struct Case {
    std::string open_command, link, expected;
  };
  const Case cases[] = {
      // Quoted placeholder: cut before its opening quote; the space before it stays.
      {"\"C:\\Browser\\browser.exe\" -url \"%1\"", link, "\"C:\\Browser\\browser.exe\" -url  " + link},
      // Bare placeholder, and what followed it goes too.
      {"C:\\Browser\\browser.exe %1 -new", link, "C:\\Browser\\browser.exe  " + link},
      // Both kinds: the quoted one is looked for first, even when a bare one comes earlier.
      {"browser.exe %1 \"%1\"", link, "browser.exe %1  " + link},
      // No placeholder: the whole command, then the link.
      {"\"C:\\Browser\\browser.exe\" -nohome", link, "\"C:\\Browser\\browser.exe\" -nohome " + link},
      // Long: nothing is cut off.
      {long_program + " \"%1\"", long_link, long_program + "  " + long_link},
  };
  for (const Case& c : cases) EXPECT_EQ(fallback_command_line(c.open_command, c.link), c.expected) << c.open_command;
  EXPECT_EQ(fallback_command_line(cases[4].open_command, long_link).size(), long_program.size() + 2 + long_link.size());
}

}  // namespace
}  // namespace km
