#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "gamefiles/mount_list.h"

namespace km::e2e {

namespace {

const char kCaption[] = "Kestrin-Marquelle";

// Memory inside the program's process, for list-view messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process), memory_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  char* at(size_t offset) const { return static_cast<char*>(memory_) + offset; }
  void write(size_t offset, const void* data, size_t size) const {
    WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  void read(size_t offset, void* data, size_t size) const {
    ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* memory_;
};

std::string class_of(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string text_of(HWND hwnd) {
  char text[1024] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// Messages to the program never wait for ever: a program that hangs fails the test instead.
LRESULT send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)) {
    ADD_FAILURE() << "the program did not answer message 0x" << std::hex << message;
    return 0;
  }
  return static_cast<LRESULT>(result);
}

ScreenPicture take_picture(const RECT& r) {
  ScreenPicture picture;
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  if (picture.width <= 0 || picture.height <= 0) return picture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    picture.pixels.assign(first, first + picture.width * picture.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

struct TopLevelSearch {
  DWORD pid;
  std::string class_name;
  std::string caption;  // empty: any
  HWND found = nullptr;
};

HWND find_top_level(DWORD pid, const std::string& class_name, const std::string& caption) {
  TopLevelSearch search{pid, class_name, caption};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TopLevelSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->pid || !IsWindowVisible(hwnd)) return TRUE;
        if (class_of(hwnd) != s->class_name) return TRUE;
        if (!s->caption.empty() && text_of(hwnd) != s->caption) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void set_install_path(const std::string& folder) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\LOL", 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

struct DescendantSearch {
  std::string class_name;
  HWND found = nullptr;
};

}  // namespace

HWND find_descendant(HWND parent, const std::string& class_name) {
  DescendantSearch search{class_name};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<DescendantSearch*>(param);
        if (lstrcmpiA(class_of(hwnd).c_str(), s->class_name.c_str()) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void forget_install_folders() {
  forget_game_install_path();
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrin-Marquelle");
}

void forget_game_install_path() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\LOL", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueA(key, "InstallPath");
    RegCloseKey(key);
  }
}

std::string remembered_install_folder() {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Kestrin-Marquelle", "InstallPath", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return "<none>";
  return value;
}

// A path of the build tree as the Windows side sees it.
std::string windows_path(const char* unix_path) {
  std::string path = std::string("Z:") + unix_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string program_path() { return windows_path(KM_PROGRAM_PATH); }

std::string catalogue_of(const std::vector<std::string>& names) {
  std::string text = "[皮肤包]\r\n";
  for (size_t i = 0; i < names.size(); ++i) text += "英雄" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
  return text;
}

std::string shell_recorder_path() { return windows_path(KM_SHELL_RECORDER_PATH); }

std::string default_mount_list_bytes() { return std::string(default_mount_list()); }

// The smallest real ZIP archive with one entry, "a.txt" holding "hi" (stored).
std::string small_zip() {
  const std::string local("PK\x03\x04\x0a\0\0\0\0\0\0\0\0\0\xd8\x07\xd9\x68\x02\0\0\0\x02\0\0\0\x05\0\0\0a.txthi", 37);
  const std::string central(
      "PK\x01\x02\x14\0\x0a\0\0\0\0\0\0\0\0\0\xd8\x07\xd9\x68\x02\0\0\0\x02\0\0\0\x05\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0a.txt",
      51);
  const std::string end("PK\x05\x06\0\0\0\0\x01\0\x01\0\x33\0\0\0\x25\0\0\0\0\0", 22);
  return local + central + end;
}


int ScreenPicture::colour_count() const {
  return static_cast<int>(std::set<DWORD>(pixels.begin(), pixels.end()).size());
}

int ScreenPicture::pixels_of(COLORREF colour) const {
  const DWORD pixel = (DWORD(GetRValue(colour)) << 16) | (DWORD(GetGValue(colour)) << 8) | GetBValue(colour);
  int n = 0;
  for (DWORD p : pixels) n += (p & 0xFFFFFF) == pixel;
  return n;
}

ScreenPicture picture_of(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  ScreenPicture last = take_picture(r);
  for (int i = 0; i < 40; ++i) {
    Sleep(50);
    ScreenPicture now = take_picture(r);
    if (now == last) break;
    last = std::move(now);
  }
  return last;
}

ScreenPicture reference_popup_menu(const std::vector<const char*>& captions, POINT where) {
  std::atomic<HWND> owner_window{nullptr};
  // A menu is modal for the thread that tracks it, so a thread of its own opens it.
  std::thread owner([&] {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    owner_window = window;
    HMENU menu = CreatePopupMenu();
    UINT id = 1;
    for (const char* caption : captions) {
      if (caption) AppendMenuA(menu, MF_STRING, id++, caption);
      else AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, where.x, where.y, 0, window, nullptr);
    DestroyMenu(menu);
    DestroyWindow(window);
  });
  HWND shown = nullptr;
  for (int i = 0; i < 150 && !shown; ++i) {
    shown = find_top_level(GetCurrentProcessId(), "#32768", "");
    if (!shown) Sleep(20);
  }
  ScreenPicture picture;
  if (shown) {
    picture = picture_of(shown);
    PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
  } else {
    ADD_FAILURE() << "the reference menu did not open";
    for (int i = 0; i < 100 && !owner_window; ++i) Sleep(10);
    if (owner_window) PostMessageA(owner_window, WM_CANCELMODE, 0, 0);
  }
  owner.join();
  return picture;
}

GameInstall::GameInstall() { CreateDirectoryA((root_.path() + "\\Game").c_str(), nullptr); }

void GameInstall::write(const std::string& name, const std::string& bytes) const {
  ASSERT_TRUE(testing::write_bytes(game_path(name), bytes)) << name;
}

std::string GameInstall::read(const std::string& name) const { return testing::read_bytes(game_path(name)); }

std::unique_ptr<Program> Program::start(const std::string& install_folder) {
  std::unique_ptr<Program> program = launch(&install_folder);
  if (!program) return nullptr;
  if (!program->wait_main_window(6000)) {
    ADD_FAILURE() << "the main window did not show";
    return nullptr;
  }
  return program;
}

std::unique_ptr<Program> Program::launch(const std::string* install_folder, bool keep_remembered) {
  if (!keep_remembered) forget_install_folders();
  forget_game_install_path();
  if (install_folder) set_install_path(*install_folder);
  std::unique_ptr<Program> program(new Program());
  std::string command = "\"" + program_path() + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  // Started from another folder: the program must make its own folder the current one. Wine on a
  // busy machine now and then fails to start a process at all; that is no fault of the program.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(500);
    started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &info);
    if (!started) error = GetLastError();
  }
  if (!started) {
    ADD_FAILURE() << "cannot start " << command << " (error " << error << ")";
    return nullptr;
  }
  CloseHandle(info.hThread);
  program->process_ = info.hProcess;
  program->pid_ = info.dwProcessId;
  return program;
}

bool Program::wait_main_window(int ms) {
  for (int waited = 0; waited <= ms && !window_; waited += 20) {
    window_ = find_top_level(pid_, "KestrinMarquelleMainWindow", kCaption);
    if (!window_) Sleep(20);
  }
  if (window_) list_ = FindWindowExA(window_, nullptr, WC_LISTVIEWA, nullptr);
  return window_ != nullptr;
}

HWND Program::wait_folder_picker(int ms) const {
  for (int waited = 0; waited <= ms; waited += 20) {
    HWND dialog = find_top_level(pid_, "#32770", "");
    if (dialog && find_descendant(dialog, WC_TREEVIEWA)) {
      Sleep(200);  // let the tree fill
      return dialog;
    }
    Sleep(20);
  }
  return nullptr;
}

void Program::choose_folder(HWND picker, const std::string& typed) const {
  HWND edit = find_descendant(picker, "Edit");
  ASSERT_TRUE(edit) << "the picker has no edit box";
  send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  PostMessageA(GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
  for (int i = 0; i < 250 && IsWindow(picker); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(picker));
}

void Program::cancel_folder_picker(HWND picker) const {
  PostMessageA(GetDlgItem(picker, IDCANCEL), BM_CLICK, 0, 0);
  for (int i = 0; i < 250 && IsWindow(picker); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(picker));
}

Program::~Program() {
  if (process_) {
    if (running()) {
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
  }
}

bool Program::running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::vector<Control> controls_of(HWND parent) {
  std::vector<Control> result;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    result.push_back({child, class_of(child), text_of(child), r});
  }
  return result;
}

std::vector<Control> Program::controls() const { return controls_of(window_); }

HWND Program::button(const std::string& caption) const {
  for (const Control& c : controls())
    if (c.class_name == "Button" && c.text == caption) return c.hwnd;
  return nullptr;
}

std::vector<Row> Program::rows() const {
  std::vector<Row> rows;
  const int count = static_cast<int>(send(list_, LVM_GETITEMCOUNT, 0, 0));
  constexpr size_t kTextSize = 4096;
  RemoteBuffer remote(process_, sizeof(LVITEMA) + kTextSize);
  for (int r = 0; r < count; ++r) {
    Row row;
    for (int column = 0; column < 2; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = remote.at(sizeof(LVITEMA));
      item.cchTextMax = kTextSize;
      remote.write(0, &item, sizeof item);
      const LRESULT length = send(list_, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(remote.at(0)));
      std::string text(static_cast<size_t>(length), '\0');
      remote.read(sizeof(LVITEMA), &text[0], text.size());
      row[column] = text;
    }
    rows.push_back(row);
  }
  return rows;
}

std::string Program::column_caption(int column) const {
  RemoteBuffer remote(process_, sizeof(LVCOLUMNA) + 256);
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT;
  info.pszText = remote.at(sizeof(LVCOLUMNA));
  info.cchTextMax = 256;
  remote.write(0, &info, sizeof info);
  if (!send(list_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(remote.at(0)))) return "<none>";
  char text[256] = {};
  remote.read(sizeof(LVCOLUMNA), text, sizeof text - 1);
  return text;
}

int Program::column_width(int column) const {
  return static_cast<int>(send(list_, LVM_GETCOLUMNWIDTH, column, 0));
}

int Program::selection() const {
  return static_cast<int>(send(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Program::select(int row) const {
  RemoteBuffer remote(process_, sizeof(LVITEMA));
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.write(0, &item, sizeof item);
  send(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0)));
}

RECT Program::row_rect(int row) const {
  RemoteBuffer remote(process_, sizeof(RECT));
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  remote.write(0, &r, sizeof r);
  send(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at(0)));
  remote.read(0, &r, sizeof r);
  return r;
}

MessageBoxSeen Program::wait_message_box(int ms) const {
  MessageBoxSeen seen;
  for (int waited = 0; waited <= ms && !seen.hwnd; waited += 20) {
    seen.hwnd = find_top_level(pid_, "#32770", "");
    if (!seen.hwnd) Sleep(20);
  }
  if (seen.hwnd) {
    Sleep(50);  // let the box finish laying out its texts
    seen.caption = text_of(seen.hwnd);
    char text[1024] = {};
    GetDlgItemTextA(seen.hwnd, 0xFFFF, text, sizeof text);
    seen.text = text;
  }
  return seen;
}

void Program::answer(const MessageBoxSeen& box, int button) const {
  HWND target = GetDlgItem(box.hwnd, button);
  ASSERT_TRUE(target) << "no button " << button << " in \"" << box.text << "\"";
  PostMessageA(target, BM_CLICK, 0, 0);
  for (int i = 0; i < 250 && IsWindow(box.hwnd); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(box.hwnd));
}

MessageBoxSeen Program::press(const std::string& caption) const {
  PostMessageA(button(caption), BM_CLICK, 0, 0);
  MessageBoxSeen box = wait_message_box();
  EXPECT_TRUE(box.hwnd) << "no message after " << caption;
  if (box.hwnd) answer(box, IDOK);
  return box;
}

HWND Program::wait_popup_menu(int ms) const {
  for (int waited = 0; waited <= ms; waited += 20) {
    if (HWND menu = find_top_level(pid_, "#32768", "")) return menu;
    Sleep(20);
  }
  return nullptr;
}

void Program::choose_menu_item(int row, int item) const {
  const RECT r = row_rect(row);
  const LPARAM where = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
  PostMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, where);
  PostMessageA(list_, WM_RBUTTONUP, 0, where);
  HWND menu = wait_popup_menu(3000);
  ASSERT_TRUE(menu) << "the popup menu did not open";
  for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

HWND Program::wait_window(const std::string& class_name, const std::string& caption, int ms) const {
  for (int waited = 0; waited <= ms; waited += 20) {
    if (HWND found = find_top_level(pid_, class_name, caption)) return found;
    Sleep(20);
  }
  return nullptr;
}

bool Program::wait_exit(int ms, DWORD* exit_code) const {
  if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_, exit_code);
  return true;
}

namespace {

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

bool write_large_zip(const std::string& path, std::uint64_t size) {
  const std::string name = "zeros.bin";
  const std::uint32_t data = static_cast<std::uint32_t>(size);
  std::string local = "PK\x03\x04";
  put16(local, 10), put16(local, 0), put16(local, 0), put16(local, 0), put16(local, 0);
  put32(local, 0), put32(local, data), put32(local, data), put16(local, static_cast<unsigned>(name.size())),
      put16(local, 0);
  local += name;
  std::string central = "PK\x01\x02";
  put16(central, 20), put16(central, 10), put16(central, 0), put16(central, 0), put16(central, 0), put16(central, 0);
  put32(central, 0), put32(central, data), put32(central, data), put16(central, static_cast<unsigned>(name.size()));
  put16(central, 0), put16(central, 0), put16(central, 0), put16(central, 0), put32(central, 0), put32(central, 0);
  central += name;
  std::string end = "PK\x05\x06";
  put16(end, 0), put16(end, 0), put16(end, 1), put16(end, 1), put32(end, static_cast<std::uint32_t>(central.size()));
  put32(end, static_cast<std::uint32_t>(local.size() + data)), put16(end, 0);

  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, local.data(), static_cast<DWORD>(local.size()), &written, nullptr);
  LARGE_INTEGER skip{};
  skip.QuadPart = data;
  ok = ok && SetFilePointerEx(file, skip, nullptr, FILE_CURRENT);
  const std::string tail = central + end;
  ok = ok && WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
  CloseHandle(file);
  return ok;
}

}  // namespace km::e2e
