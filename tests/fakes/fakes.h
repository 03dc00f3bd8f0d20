#pragma once
// In-memory stand-ins for the disk, the list control, message boxes and the program,
// for tests of the portable commands. Each records what happened so a test can check it.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "gamefiles/disk.h"

namespace km::fakes {

class FakeDisk : public Disk {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;                      // paths as the commands build them
  std::map<std::string, SystemError> read_errors;     // exist, but reading them fails so
  std::map<std::string, SystemError> write_errors;    // writing, deleting or moving onto them fails so
  std::vector<std::string> written;                   // paths, in the order of successful writes
  std::vector<std::string> recycled;                  // paths put into the Recycle Bin
  std::vector<std::string> renamed;                   // "from -> to", in the order of successful renames
  // Paths that name one file although spelled apart (a short name, another case): each maps to
  // the spelling `files` keys it under.
  std::map<std::string, std::string> aliases;

  FileRead read_file(const std::string& spelled, std::uint64_t max_size) override {
    const std::string path = spelling(spelled);
    if (auto it = read_errors.find(path); it != read_errors.end()) return {ReadStatus::unreadable, it->second, {}};
    auto it = files.find(path);
    if (it == files.end()) return {ReadStatus::missing, system_error::kFileNotFound, {}};
    if (it->second.size() > max_size) return {ReadStatus::unreadable, system_error::kFileTooLarge, {}};
    return {ReadStatus::ok, system_error::kNone, it->second};
  }
  SystemError write_file(const std::string& path, const std::string& bytes) override {
    if (auto it = write_errors.find(path); it != write_errors.end()) return it->second;
    if (path.empty() || !folders.count(folder_of(path))) return system_error::kPathNotFound;
    files[path] = bytes;
    written.push_back(path);
    return system_error::kNone;
  }
  SystemError delete_file(const std::string& path) override {
    if (auto it = write_errors.find(path); it != write_errors.end()) return it->second;
    return files.erase(path) ? system_error::kNone : system_error::kFileNotFound;
  }
  SystemError recycle_file(const std::string& path) override {
    const SystemError error = delete_file(path);
    if (!error) recycled.push_back(path);
    return error;
  }
  FilePart read_tail(const std::string& path, std::size_t size) override {
    const FileRead whole = read_file(path, UINT64_MAX);
    const std::size_t from = whole.bytes.size() - std::min(size, whole.bytes.size());
    return {whole.status, whole.error, whole.bytes.size(), whole.bytes.substr(from)};
  }
  FilePart read_at(const std::string& path, std::uint64_t offset, std::size_t size) override {
    const FileRead whole = read_file(path, UINT64_MAX);
    const std::string part = offset < whole.bytes.size() ? whole.bytes.substr(offset, size) : std::string();
    return {whole.status, whole.error, whole.bytes.size(), part};
  }
  bool is_file(const std::string& spelled) override {
    const std::string path = spelling(spelled);
    return files.count(path) || read_errors.count(path);
  }
  bool is_folder(const std::string& path) override { return folders.count(without_trailing_backslash(path)) > 0; }
  // Paths on different drive letters are on different volumes: a rename between them fails.
  SystemError rename_file(const std::string& from, const std::string& to, bool replace_existing) override {
    if (from.substr(0, 2) != to.substr(0, 2)) return system_error::kNotSameDevice;
    if (auto error = write_errors.find(to); error != write_errors.end()) return error->second;
    if (auto error = write_errors.find(from); error != write_errors.end()) return error->second;
    auto it = files.find(from);
    if (it == files.end()) return system_error::kFileNotFound;
    if (!folders.count(folder_of(to))) return system_error::kPathNotFound;
    if (!replace_existing && files.count(to)) return system_error::kFileExists;
    const std::string bytes = it->second;
    files.erase(it);
    files[to] = bytes;
    renamed.push_back(from + " -> " + to);
    return system_error::kNone;
  }
  bool same_file(const std::string& a, const std::string& b) override {
    return files.count(spelling(a)) && spelling(a) == spelling(b);
  }
  std::string error_text(SystemError error) override { return "system text " + std::to_string(error); }
  bool lock_game_files() override {
    if (lock_refused) return false;
    ++locks_held;
    return true;
  }
  void unlock_game_files() override { --locks_held; }
  bool lock_refused = false;  // another copy of the program holds the game files too long
  int locks_held = 0;

  std::string spelling(const std::string& path) const {
    auto it = aliases.find(path);
    return it == aliases.end() ? path : it->second;
  }
  // Folders are kept without a trailing backslash ("D:\LOL\Game").
  static std::string folder_of(const std::string& path) { return path.substr(0, path.rfind('\\')); }
  static std::string without_trailing_backslash(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
  }
};

class FakeSkinList : public SkinList {
 public:
  std::vector<std::vector<std::string>> rows;  // two cells each
  int selected = -1;
  int repaints = 0;

  int append_row() override {
    rows.push_back({"", ""});
    return static_cast<int>(rows.size()) - 1;
  }
  void set_cell(int row, int column, const std::string& text) override {
    if (row >= 0 && row < row_count()) rows[row].at(column) = text;
  }
  std::string cell(int row, int column) override {
    return row >= 0 && row < row_count() ? rows[row].at(column) : std::string();
  }
  void delete_row(int row) override {
    if (row < 0 || row >= row_count()) return;
    rows.erase(rows.begin() + row);
    if (selected == row) selected = -1;
    else if (selected > row) --selected;
  }
  int row_count() override { return static_cast<int>(rows.size()); }
  int selection() override { return selected; }
  void repaint_now() override { ++repaints; }
};

struct ShownMessage {
  std::string text;
  MessageKind kind;
  std::string title;
};

class FakeUserMessages : public UserMessages {
 public:
  using UserMessages::show;
  std::vector<ShownMessage> shown;
  bool answer_yes = false;
  std::function<void()> on_show;  // runs as a box would appear

  bool show(const std::string& text, MessageKind kind, const std::string& title) override {
    if (on_show) on_show();
    shown.push_back({text, kind, title});
    return answer_yes;
  }
};

class FakeProgram : public ProgramControl {
 public:
  bool hidden = false;
  int exit_code = -100;          // -100: end_program was not called
  size_t messages_at_exit = 0;   // how many messages had been shown when the program ended
  const FakeUserMessages* messages = nullptr;

  void hide_main_window() override { hidden = true; }
  void end_program(int code) override {
    exit_code = code;
    if (messages) messages_at_exit = messages->shown.size();
  }
};

}  // namespace km::fakes
