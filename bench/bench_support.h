#pragma once
// What the in-process benchmarks stand in for: the list control, the message boxes and the
// program, all silent; and the timing helpers.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/commands.h"

namespace km::bench {

class Rows final : public km::SkinList {
 public:
  std::vector<std::vector<std::string>> rows;
  int selected = -1;
  int append_row() override {
    rows.push_back({"", ""});
    return static_cast<int>(rows.size()) - 1;
  }
  void set_cell(int row, int column, const std::string& text) override {
    if (row >= 0 && row < row_count()) rows[row][column] = text;
  }
  std::string cell(int row, int column) override { return rows.at(row).at(column); }
  void delete_row(int row) override {
    rows.erase(rows.begin() + row);
    if (selected == row) selected = -1;
  }
  int row_count() override { return static_cast<int>(rows.size()); }
  int selection() override { return selected; }
  void repaint_now() override {}
};

class Silent final : public km::UserMessages, public km::ProgramControl {
 public:
  using UserMessages::show;
  std::string last;
  bool show(const std::string& text, km::MessageKind, const std::string&) override {
    last = text;
    return false;
  }
  void hide_main_window() override {}
  void end_program(int) override {}
};

double now_ms() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace km::bench
