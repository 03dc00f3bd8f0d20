// The About window and the contact link, on the real program. The shell's side is played by a
// recorder registered in the test prefix as the messenger's link scheme and as the web-page
// program, so the tests see exactly what was started.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver.h"
#include "program_version.h"
#include "ui/contact_link.h"

namespace km::e2e {
namespace {

const char kAboutClass[] = "KestrinMarquelleAboutWindow";
const char kAboutCaption[] = "关于我们";
const char kLinkClass[] = "KestrinMarquelleHyperlink";
constexpr int kAboutItem = 4;    // of the popup menu, the separator not counted
constexpr int kContactItem = 5;
const COLORREF kLinkColour = RGB(0, 136, 255);
const COLORREF kHoverColour = RGB(0, 0, 255);

// Puts the recorder in place of the programs the shell would start, and takes it out again.
class ShellStandIns {
 public:
  ShellStandIns() : record_(folder_ / "started.txt") {
    html_type_before_ = class_value(".htm");
  }
  ~ShellStandIns() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kScheme);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kHtmlType);
    if (html_type_before_) set_class_value(".htm", *html_type_before_);
  }

  // The messenger's scheme opens the recorder.
  void register_scheme() {
    set_class_value(kScheme, "URL:tencent");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, kScheme, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    set_class_value(std::string(kScheme) + "\\shell\\open\\command", recorder_command());
  }
  void unregister_scheme() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kScheme); }

  // The HTML file type's open command: the recorder's, or none at all.
  void set_html_command(const std::optional<std::string>& command) {
    set_class_value(".htm", kHtmlType);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kHtmlType);
    if (command) set_class_value(std::string(kHtmlType) + "\\shell\\open\\command", *command);
  }

  // "<recorder>" "<record file>" "%1": the recorder writes its command line into the record.
  std::string recorder_command() const { return "\"" + shell_recorder_path() + "\" \"" + record_ + "\" \"%1\""; }
  // The command line the fallback must build from recorder_command().
  std::string fallback_line(const std::string& link) const {
    return "\"" + shell_recorder_path() + "\" \"" + record_ + "\"  " + link;
  }

  // The command lines the recorder has written, once there are `count` of them (or after `ms`).
  std::vector<std::string> started(size_t count, int ms = 10000) const {
    std::vector<std::string> lines;
    for (int waited = 0; waited <= ms; waited += 50) {
      lines.clear();
      const std::string text = testing::read_bytes(record_);
      if (text != "<missing>") {
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
          lines.push_back(text.substr(start, end - start));
      }
      if (lines.size() >= count) break;
      Sleep(50);
    }
    return lines;
  }

 private:
  static constexpr const char* kScheme = "tencent";
  static constexpr const char* kHtmlType = "KestrinTest.htmfile";

  static std::optional<std::string> class_value(const std::string& key_name) {
    char value[1024] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key_name.c_str(), value, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
  }
  static void set_class_value(const std::string& key_name, const std::string& value) {
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key_name.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size())),
              ERROR_SUCCESS)
        << key_name;
  }

  testing::TempFolder folder_;
  std::string record_;
  std::optional<std::string> html_type_before_;
};

std::unique_ptr<Program> start_with_one_skin(GameInstall& game) {
  game.write("皮肤.ini", "[皮肤包]\r\n英雄1=Ahri\r\n");
  return Program::start(game.folder());
}

HWND open_about(const Program& program) {
  program.choose_menu_item(0, kAboutItem);
  return program.wait_window(kAboutClass, kAboutCaption);
}

void expect_closed(const Program& program, HWND about) {
  for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(about));
  EXPECT_TRUE(IsWindowEnabled(program.window()));
  // Closing asks nothing, and the main window's own close question does not come either.
  EXPECT_FALSE(program.wait_message_box(300).hwnd);
  EXPECT_TRUE(program.running());
}

// The whole text of a control of the program, asked from the control itself.
std::string window_text(HWND control) {
  std::string text(4096, '\0');
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                           5000, &length))
    return "<no answer>";
  text.resize(length);
  return text;
}

std::vector<HWND> link_labels(HWND about) {
  std::vector<HWND> labels;
  for (const Control& c : controls_of(about))
    if (c.class_name == kLinkClass) labels.push_back(c.hwnd);
  return labels;
}

TEST(AboutWindow, OpensCentredWithItsControlsWhileTheMainWindowWaits) {
  GameInstall game;
  auto program = start_with_one_skin(game);
  ASSERT_TRUE(program);

  HWND about = open_about(*program);
  ASSERT_TRUE(about) << "关于软件 opened no About window";
  RECT outer;
  GetWindowRect(about, &outer);
  EXPECT_EQ(outer.right - outer.left, 522);
  EXPECT_EQ(outer.bottom - outer.top, 192);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 522) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 192) / 2);
  const LONG style = GetWindowLongA(about, GWL_STYLE), ex_style = GetWindowLongA(about, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  // No taskbar button: owned by the main window, and not asking for one.
  EXPECT_EQ(GetWindow(about, GW_OWNER), program->window());
  EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
  EXPECT_FALSE(IsWindowEnabled(program->window()));

  struct Expected {
    const char* class_name;
    const char* text;  // nullptr: checked below
    int x, y, w, h;
  };
  const Expected expected[] = {
      {"Edit", nullptr, 5, 5, 363, 152},
      {kLinkClass, "联系客服", 383, 15, 112, 24},
      {kLinkClass, "找小岚获取更多皮肤", 379, 46, 125, 24},
      {"Static", "", 377, 107, 130, 50},
  };
  const std::vector<Control> controls = controls_of(about);
  ASSERT_EQ(controls.size(), std::size(expected));
  for (const Expected& e : expected) {
    bool found = false;
    for (const Control& c : controls) {
      if (c.class_name != e.class_name || c.rect.left != e.x || c.rect.top != e.y) continue;
      found = true;
      EXPECT_EQ(c.rect.right - c.rect.left, e.w) << e.class_name;
      EXPECT_EQ(c.rect.bottom - c.rect.top, e.h) << e.class_name;
      if (e.text) {
        EXPECT_EQ(c.text, e.text);
      }
      if (c.class_name == "Edit") {
        // The note: read-only, wrapping, a vertical scroll bar; it shows the version.
        const LONG note_style = GetWindowLongA(c.hwnd, GWL_STYLE);
        EXPECT_EQ(note_style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP),
                  ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP);
        EXPECT_FALSE(note_style & (ES_AUTOHSCROLL | WS_HSCROLL));
        const std::string note = window_text(c.hwnd);
        EXPECT_NE(note.find("版本 " KM_VERSION_TEXT), std::string::npos) << note;
        EXPECT_NE(note.find("作者的QQ"), std::string::npos) << note;
      }
      if (c.class_name == "Static") {
        // The banner: the blue field, with white characters on it.
        const ScreenPicture banner = picture_of(c.hwnd);
        EXPECT_GT(banner.pixels_of(RGB(0, 149, 254)), 130 * 50 * 2 / 3);
        EXPECT_GT(banner.pixels_of(RGB(255, 255, 255)), 100);
      }
    }
    EXPECT_TRUE(found) << e.class_name << " at " << e.x << "," << e.y;
  }

  // Esc in the note closes the window at once.
  PostMessageA(FindWindowExA(about, nullptr, "Edit", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
  expect_closed(*program, about);

  // So does the close button (and Close on the system menu, and Alt+F4: the same request).
  about = open_about(*program);
  ASSERT_TRUE(about);
  EXPECT_FALSE(IsWindowEnabled(program->window()));
  PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  expect_closed(*program, about);
}

TEST(AboutWindow, EachOpeningStartsWithBothLabelsInTheLinkColour) {
  GameInstall game;
  ShellStandIns shell;
  shell.register_scheme();
  auto program = start_with_one_skin(game);
  ASSERT_TRUE(program);
  SetCursorPos(0, 0);

  // Both labels of a fresh opening show the link colour and no hover colour.
  const auto open_with_labels_unlit = [&](std::vector<HWND>& labels) {
    HWND about = open_about(*program);
    labels = link_labels(about);
    EXPECT_EQ(labels.size(), 2u);
    for (HWND label : labels) {
      const ScreenPicture shown = picture_of(label);
      EXPECT_GT(shown.pixels_of(kLinkColour), 20);
      EXPECT_EQ(shown.pixels_of(kHoverColour), 0);
    }
    return about;
  };
  std::vector<HWND> labels;
  HWND about = open_with_labels_unlit(labels);
  ASSERT_TRUE(about);
  ASSERT_EQ(labels.size(), 2u);

  // The pointer on the first label lights it; a press on the second opens the link (visited).
  RECT first;
  GetWindowRect(labels[0], &first);
  SetCursorPos((first.left + first.right) / 2, (first.top + first.bottom) / 2);
  const ScreenPicture lit = picture_of(labels[0]);
  EXPECT_GT(lit.pixels_of(kHoverColour), 20);
  EXPECT_EQ(lit.pixels_of(kLinkColour), 0);
  PostMessageA(labels[1], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(labels[1], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(shell.started(1).size(), 1u);

  // Closed while lit, then opened again with the pointer elsewhere: both in the link colour.
  PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
  expect_closed(*program, about);
  SetCursorPos(0, 0);
  about = open_with_labels_unlit(labels);
  ASSERT_TRUE(about);
  PostMessageA(about, WM_CLOSE, 0, 0);
  expect_closed(*program, about);
}

TEST(ContactLink, BugReportAndTheLabelsReachTheShell) {
  GameInstall game;
  ShellStandIns shell;
  shell.register_scheme();
  auto program = start_with_one_skin(game);
  ASSERT_TRUE(program);
  const std::string link = kContactLink;
  ASSERT_EQ(link.rfind("tencent://", 0), 0u);

  // BUG反馈: the shell opens the messenger's link.
  program->choose_menu_item(0, kContactItem);
  std::vector<std::string> started = shell.started(1);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_NE(started[0].find(link), std::string::npos) << started[0];
  EXPECT_TRUE(program->running());

  // A label: the same link through the shell.
  HWND about = open_about(*program);
  ASSERT_TRUE(about);
  const std::vector<HWND> labels = link_labels(about);
  ASSERT_EQ(labels.size(), 2u);
  const auto press = [&](HWND label) {
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  };
  press(labels[0]);
  started = shell.started(2);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_NE(started[1].find(link), std::string::npos) << started[1];

  // No program for the scheme: the web-page program's open command, cut at "%1", with the link.
  shell.unregister_scheme();
  shell.set_html_command(shell.recorder_command());
  press(labels[1]);
  started = shell.started(3);
  ASSERT_EQ(started.size(), 3u);
  EXPECT_EQ(started[2], shell.fallback_line(link));

  // No web-page program either: nothing starts, nothing is said, the window stays.
  shell.set_html_command(std::nullopt);
  press(labels[0]);
  EXPECT_EQ(shell.started(4, 1000).size(), 3u);
  EXPECT_FALSE(program->wait_message_box(300).hwnd);
  EXPECT_TRUE(IsWindow(about));

  PostMessageA(about, WM_CLOSE, 0, 0);
  expect_closed(*program, about);
}

}  // namespace
}  // namespace km::e2e
