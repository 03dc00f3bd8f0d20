// Every command against every fault that can be made here, on the real program: exactly the
// message each case calls for, and the Game folder exactly as it should be afterwards (names and
// bytes of every file: nothing lost, nothing half-written, no temporary file left behind).
//
// Two faults need file systems that ./test mounts before the run: a small tmpfs (a full disk) and
// a read-only bind mount (access denied; Wine running as root is refused nothing else). Their
// Unix paths come in KM_FULL_DISK_DIR, KM_READ_ONLY_SOURCE_DIR and KM_READ_ONLY_VIEW_DIR.
#include <windows.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "drag.h"
#include "driver.h"

namespace km::e2e {
namespace {

const char kCatalogue[] = "皮肤.ini";
const char kMountList[] = "ClientZips.txt";
const std::string kTwoSkins = "[皮肤包]\r\n英雄1=A\r\n英雄2=B\r\n";
const std::string kInUse = "文件正被其他程序使用（游戏是否正在运行？）";

using Files = std::map<std::string, std::string>;  // the Game folder: name -> bytes

std::string wine_path_of(const char* variable) {
  const char* unix_path = std::getenv(variable);
  return unix_path && *unix_path ? windows_path(unix_path) : std::string();
}

Files snapshot(const std::string& game) {
  Files files;
  if (GetFileAttributesA(game.c_str()) == INVALID_FILE_ATTRIBUTES) return {{"<no Game folder>", ""}};
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((game + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    files[name] = testing::read_bytes(game + "\\" + name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

enum class Where { temp, full_disk, read_only };
enum class Command { mount, unmount, remove, restore, import };
const Command kCommands[] = {Command::mount, Command::unmount, Command::remove, Command::restore, Command::import};
const char kDroppedPack[] = "C.zip";  // dropped from the install folder, beside Game

// One program run: the install, what the test holds open, the program.
struct Cell {
  std::string root;      // where the test writes the install
  std::string install;   // the install folder as the program is given it
  std::optional<testing::TempFolder> temp;
  std::vector<HANDLE> held;
  std::string game() const { return root + "\\Game"; }
  std::string path(const std::string& name) const { return game() + "\\" + name; }
  void hold(const std::string& name, DWORD share, DWORD access = GENERIC_READ) {
    HANDLE h = CreateFileA(path(name).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot hold " << name;
    held.push_back(h);
  }
  void release() {
    for (HANDLE h : held) CloseHandle(h);
    held.clear();
  }
};

struct Fault {
  const char* name;
  Where where = Where::temp;
  std::optional<std::string> catalogue = kTwoSkins;
  std::string list = "Aatrox.zip\r\nA.zip";
  std::function<void(Cell&)> before_start;  // made before the program starts
  std::function<void(Cell&)> before_command;
  std::function<void(Cell&)> release;
};

// How the Game folder ends, from how it began.
enum class End {
  same,
  mounted,        // "\r\nB.zip" added to the list
  unmounted,      // A's entry gone from the list
  deleted,        // A's entry, A's catalogue value and A.zip gone
  value_deleted,  // A's entry and catalogue value gone, every pack kept
  entries_gone,   // A's entry gone, nothing else
  restored,       // the stock list
  imported,       // C.zip moved in and catalogued
  no_game_folder,
};

struct Outcome {
  std::string message;  // the one message the command shows
  End end;
};

const std::string kMounted = "挂载皮肤成功！", kUnmounted = "卸载皮肤成功！", kDeleted = "皮肤删除成功！",
                  kRestored = "恢复默认成功，软件已退出，请重新运行！";
std::string mount_failed(const std::string& reason) { return "皮肤挂载失败！\r\n" + reason; }
std::string unmount_failed(const std::string& reason) { return "皮肤卸载失败！\r\n" + reason; }
std::string delete_failed(const std::string& reason) { return "皮肤删除失败！\r\n" + reason; }
std::string restore_failed(const std::string& reason) { return "恢复默认失败！\r\n" + reason; }

std::string import_failed(const std::string& reason) { return "皮肤导入失败！\r\n" + reason; }
const Outcome kImported = {"", End::imported};  // a successful import says nothing

std::vector<Outcome> with_import(std::vector<Outcome> outcomes, const Outcome& import) {
  outcomes.back() = import;
  return outcomes;
}

// The same failure for every command.
std::vector<Outcome> all_fail(const std::string& reason, End end = End::same) {
  return {{mount_failed(reason), end}, {unmount_failed(reason), end}, {delete_failed(reason), end},
          {restore_failed(reason), end}, {import_failed(reason), end}};
}
const std::vector<Outcome> kAllSucceed = {{kMounted, End::mounted},
                                          {kUnmounted, End::unmounted},
                                          {kDeleted, End::deleted},
                                          {kRestored, End::restored},
                                          kImported};
const std::vector<Outcome> kNothingListed = {{"未找到挂载皮肤！", End::same},
                                             {"未找到卸载皮肤！", End::same},
                                             {"未找到删除皮肤！", End::same},
                                             {kRestored, End::restored},
                                             kImported};

Files expected_end(Files files, End end, const std::string& unmounted_name, const std::string& imported_catalogue) {
  auto take_entry = [&] {
    std::string& list = files[kMountList];
    const std::string entry = "\r\n" + unmounted_name + ".zip";
    const size_t at = list.rfind(entry);
    if (at != std::string::npos) list.erase(at, entry.size());
  };
  switch (end) {
    case End::same: break;
    case End::mounted: files[kMountList] += "\r\nB.zip"; break;
    case End::unmounted: take_entry(); break;
    case End::entries_gone: take_entry(); break;
    case End::deleted:
      take_entry();
      files.erase("A.zip");
      files[kCatalogue] = "[皮肤包]\r\n英雄1=B\r\n";
      break;
    case End::value_deleted:
      take_entry();
      files[kCatalogue] = "[皮肤包]\r\n英雄1=B\r\n";
      break;
    case End::restored: files[kMountList] = default_mount_list_bytes(); break;
    case End::imported:
      files[kDroppedPack] = small_zip();
      files[kCatalogue] = imported_catalogue;
      break;
    case End::no_game_folder: files = {{"<no Game folder>", ""}}; break;
  }
  return files;
}

void make_install(Cell& cell, const Fault& fault, const std::string& case_name) {
  switch (fault.where) {
    case Where::temp:
      cell.temp.emplace();
      cell.root = cell.install = cell.temp->path();
      break;
    case Where::full_disk: {
      const std::string base = wine_path_of("KM_FULL_DISK_DIR");
      ASSERT_FALSE(base.empty()) << "no small file system to fill: ./test mounts one (KM_FULL_DISK_DIR)";
      cell.root = cell.install = base + "\\" + case_name;
      break;
    }
    case Where::read_only: {
      const std::string source = wine_path_of("KM_READ_ONLY_SOURCE_DIR"), view = wine_path_of("KM_READ_ONLY_VIEW_DIR");
      ASSERT_FALSE(source.empty() || view.empty()) << "no read-only mount: ./test makes one (KM_READ_ONLY_*_DIR)";
      cell.root = source + "\\" + case_name;
      cell.install = view + "\\" + case_name;
      break;
    }
  }
  testing::remove_tree(cell.root);
  ASSERT_TRUE(CreateDirectoryA(cell.root.c_str(), nullptr)) << cell.root;
  ASSERT_TRUE(CreateDirectoryA(cell.game().c_str(), nullptr));
  if (fault.catalogue) ASSERT_TRUE(testing::write_bytes(cell.path(kCatalogue), *fault.catalogue));
  ASSERT_TRUE(testing::write_bytes(cell.path(kMountList), fault.list));
  ASSERT_TRUE(testing::write_bytes(cell.path("A.zip"), "PK pack A"));
  ASSERT_TRUE(testing::write_bytes(cell.path("B.zip"), "PK pack B"));
  ASSERT_TRUE(testing::write_bytes(cell.root + "\\" + kDroppedPack, small_zip()));
}

// Fills the file system of `folder` to the last byte.
void fill_disk(const std::string& folder) {
  HANDLE file = CreateFileA((folder + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::string chunk(1 << 16, 'f');
  for (size_t size = chunk.size(); size > 0; size /= 2) {
    DWORD written = 0;
    while (WriteFile(file, chunk.data(), static_cast<DWORD>(size), &written, nullptr) && written == size) {
    }
  }
  CloseHandle(file);
}

struct MatrixRow {
  Fault fault;
  std::vector<Outcome> outcomes;  // Mount, Unmount, Delete, Restore default, Import
  std::string start_message = {};
  // The catalogue after C is imported.
  std::string imported_catalogue = kTwoSkins + "英雄3=C\r\n";
};

std::string one_line(const std::string& text) {
  std::string line = text;
  for (size_t at; (at = line.find("\r\n")) != std::string::npos;) line.replace(at, 2, " / ");
  return line;
}

const std::vector<MatrixRow>& fault_matrix() {
  static const std::string big_list = [] {
    std::string list = "Aatrox.zip";
    for (int i = 0; list.size() < (1 << 20); ++i) list += "\r\nGameArchive" + std::to_string(i) + ".zip";
    return list + "\r\nA.zip";
  }();
  static const std::vector<MatrixRow> matrix = {
      {{"nothing wrong"}, kAllSucceed},
      {{"list held without sharing", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) { c.hold(kMountList, 0); }},
       with_import(all_fail(kInUse), kImported)},
      {{"list held sharing reads", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) { c.hold(kMountList, FILE_SHARE_READ); }},
       with_import(all_fail(kInUse), kImported)},
      {{"list read-only", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) { SetFileAttributesA(c.path(kMountList).c_str(), FILE_ATTRIBUTE_READONLY); },
        [](Cell& c) { SetFileAttributesA(c.path(kMountList).c_str(), FILE_ATTRIBUTE_NORMAL); }},
       with_import(all_fail("文件是只读的"), kImported)},
      {{"packs held open", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) {
          c.hold("A.zip", FILE_SHARE_READ);
          c.hold("B.zip", FILE_SHARE_READ);
        }},
       {{kMounted, End::mounted}, {kUnmounted, End::unmounted}, {delete_failed(kInUse), End::entries_gone},
        {kRestored, End::restored}, kImported}},
      {{"Game folder gone", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) { testing::remove_tree(c.game()); }},
       all_fail("找不到游戏目录", End::no_game_folder)},
      {{"no catalogue", Where::temp, std::nullopt}, kNothingListed, "", "[皮肤包]\r\n英雄1=C\r\n"},
      {{"empty catalogue", Where::temp, ""}, kNothingListed, "", "[皮肤包]\r\n英雄1=C\r\n"},
      {{"catalogue with a gap", Where::temp, "[皮肤包]\r\n英雄1=A\r\n英雄3=B\r\n"}, kAllSucceed, "",
       "[皮肤包]\r\n英雄1=A\r\n英雄3=B\r\n英雄4=C\r\n"},
      {{"a folder in a catalogue value", Where::temp, "[皮肤包]\r\n英雄1=..\\A\r\n英雄2=B\r\n",
        "Aatrox.zip\r\n..\\A.zip",
        [](Cell& c) { ASSERT_TRUE(testing::write_bytes(c.root + "\\A.zip", "outside")); }},
       {{kMounted, End::mounted}, {kUnmounted, End::unmounted}, {kDeleted, End::value_deleted},
        {kRestored, End::restored}, kImported},
       "", "[皮肤包]\r\n英雄1=..\\A\r\n英雄2=B\r\n英雄3=C\r\n"},
      {{"catalogue held open", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip",
        [](Cell& c) { c.hold(kCatalogue, 0); }},
       {{"未找到挂载皮肤！", End::same}, {"未找到卸载皮肤！", End::same}, {"未找到删除皮肤！", End::same},
        {kRestored, End::restored}, {import_failed(kInUse), End::same}},
       "无法读取皮肤列表文件 皮肤.ini\r\n" + kInUse},
      {{"catalogue too large", Where::temp, kTwoSkins + std::string(64 << 20, ';')},
       {{"未找到挂载皮肤！", End::same}, {"未找到卸载皮肤！", End::same}, {"未找到删除皮肤！", End::same},
        {kRestored, End::restored}, {import_failed("文件过大"), End::same}},
       "无法读取皮肤列表文件 皮肤.ini\r\n文件过大"},
      {{"a 1 MB list", Where::temp, kTwoSkins, big_list}, kAllSucceed},
      {{"zero bytes in the list", Where::temp, kTwoSkins, std::string("Aatrox.zip\0junk\r\nA.zip", 22)}, kAllSucceed},
      {{"lock on the list", Where::temp, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) {
          c.hold(kMountList, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, GENERIC_READ | GENERIC_WRITE);
          OVERLAPPED at{};
          ASSERT_TRUE(LockFileEx(c.held.back(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1 << 20, 0, &at));
        }},
       {{mount_failed(kInUse), End::same}, {unmount_failed(kInUse), End::same}, {delete_failed(kInUse), End::same},
        {restore_failed(kInUse), End::same}, kImported}},
      {{"disk full", Where::full_disk, kTwoSkins, "Aatrox.zip\r\nA.zip", nullptr,
        [](Cell& c) { fill_disk(c.root); }, [](Cell& c) { DeleteFileA((c.root + "\\filler").c_str()); }},
       all_fail("磁盘空间不足")},
      {{"access denied", Where::read_only}, all_fail("没有写入游戏目录的权限，请以管理员身份运行本程序")},
  };
  return matrix;
}

class FaultMatrix : public ::testing::TestWithParam<size_t> {};

const std::string& expected_message_of(const MatrixRow& row, size_t command) { return row.outcomes[command].message; }

// One fault, every command: the row of the matrix, printed to the log.
TEST_P(FaultMatrix, Row) {
  const MatrixRow& row = fault_matrix()[GetParam()];
  const char* const command_names[] = {"挂载皮肤", "卸载皮肤", "删除皮肤", "恢复默认", "导入"};
  std::string table;
  {
    for (size_t c = 0; c < 5; ++c) {
      const Command command = kCommands[c];
      SCOPED_TRACE(std::string(row.fault.name) + " / " + command_names[c]);
      Cell cell;
      make_install(cell, row.fault, "case" + std::to_string(GetParam()) + "-" + std::to_string(c));
      if (HasFatalFailure()) return;
      const Files before = snapshot(cell.game());
      if (row.fault.before_start) row.fault.before_start(cell);

      auto program = Program::launch(&cell.install);
      ASSERT_TRUE(program);
      if (!row.start_message.empty()) {
        MessageBoxSeen start = program->wait_message_box();
        EXPECT_EQ(start.text, row.start_message);
        if (start.hwnd) program->answer(start, IDOK);
      }
      ASSERT_TRUE(program->wait_main_window(8000));
      const int rows = static_cast<int>(program->rows().size());
      if (command == Command::mount && rows > 1) program->select(1);
      if ((command == Command::unmount || command == Command::remove) && rows > 0) program->select(0);
      if (row.fault.before_command) row.fault.before_command(cell);

      MessageBoxSeen box;
      if (command == Command::import) {
        const std::string dropped = cell.install + "\\" + kDroppedPack;
        FileDrag drag(program->window(), {dropped});
        box = program->wait_message_box(expected_message_of(row, c).empty() ? 1500 : 8000);
        if (box.hwnd) program->answer(box, IDOK);
        EXPECT_EQ(drag.wait(), kDropNotPerformed);
      } else {
        PostMessageA(program->button(command_names[c]), BM_CLICK, 0, 0);
        box = program->wait_message_box();
        if (box.hwnd) program->answer(box, IDOK);
      }
      EXPECT_FALSE(program->wait_message_box(300).hwnd) << "a second message";
      cell.release();
      if (row.fault.release) row.fault.release(cell);

      const Outcome& expected = row.outcomes[c];
      EXPECT_EQ(box.text, expected.message);
      const std::string unmounted = row.fault.catalogue && row.fault.catalogue->find("..\\A") != std::string::npos
                                        ? "..\\A"
                                        : "A";
      EXPECT_EQ(snapshot(cell.game()), expected_end(before, expected.end, unmounted, row.imported_catalogue));
      // The dropped pack left its place only when the import succeeded.
      EXPECT_EQ(testing::read_bytes(cell.root + "\\" + kDroppedPack),
                command == Command::import && expected.end == End::imported ? "<missing>" : small_zip());
      if (testing::read_bytes(cell.root + "\\A.zip") != "<missing>")
        EXPECT_EQ(testing::read_bytes(cell.root + "\\A.zip"), "outside");
      table += std::string("matrix| ") + row.fault.name + " | " + command_names[c] + " -> " + (box.text.empty() ? std::string("(no message)") : one_line(box.text)) + "\n";
      program.reset();
      testing::remove_tree(cell.root);
    }
  }
  std::printf("%s", table.c_str());
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, FaultMatrix, ::testing::Range<size_t>(0, fault_matrix().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           std::string name;
                           for (const char* c = fault_matrix()[info.param].fault.name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

}  // namespace
}  // namespace km::e2e
