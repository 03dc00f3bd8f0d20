#pragma once
// In-memory stand-ins for the disk, the catalogue, the list control, message boxes and the program,
// for tests of the portable commands. Each records what happened so a test can check it.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/disk.h"

namespace km::fakes {

class FakeDisk : public Disk {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;    // exist, but reading them fails
  std::set<std::string> unwritable;    // writing, deleting or moving onto them fails
  std::vector<std::string> written;    // paths, in the order of successful writes

  FileRead read_file(const std::string& path) override {
    if (unreadable.count(path)) return {ReadStatus::unreadable, {}};
    auto it = files.find(path);
    if (it == files.end()) return {ReadStatus::missing, {}};
    return {ReadStatus::ok, it->second};
  }
  bool write_file(const std::string& path, const std::string& bytes) override {
    if (path.empty() || unwritable.count(path)) return false;
    files[path] = bytes;
    written.push_back(path);
    return true;
  }
  bool delete_file(const std::string& path) override {
    if (unwritable.count(path)) return false;
    return files.erase(path) > 0;
  }
  bool file_exists(const std::string& path) override { return files.count(path) || unreadable.count(path); }
  bool move_file(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end() || unwritable.count(to)) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }
};

class FakeCatalogue : public Catalogue {
 public:
  bool exists = true;
  bool writes_fail = false;
  std::map<int, std::string> slots;  // the file's keys; an empty value reads as a free slot

  bool present() override { return exists; }
  std::string read_slot(int slot) override {
    auto it = slots.find(slot);
    return it == slots.end() ? std::string() : it->second;
  }
  std::vector<CatalogueEntry> entries() override {
    std::vector<CatalogueEntry> out;
    for (const auto& [slot, value] : slots)
      if (!value.empty()) out.push_back({slot, value});
    return out;
  }
  bool write_slot(int slot, const std::string& value) override {
    if (writes_fail) return false;
    slots[slot] = value;
    exists = true;
    return true;
  }
  bool remove_position(int p) override {
    if (writes_fail) return false;
    std::vector<CatalogueEntry> all = entries();
    slots.clear();
    int next = 1;
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
      if (i + 1 != p) slots[next++] = all[i].value;
    exists = !slots.empty();
    return true;
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

  bool show(const std::string& text, MessageKind kind, const std::string& title) override {
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
