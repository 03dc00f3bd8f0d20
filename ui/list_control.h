#pragma once
// The skin list on a report-view list control.
#include <windows.h>

#include "commands/skin_list.h"

namespace km {

class ListViewSkinList final : public SkinList {
 public:
  ListViewSkinList() = default;
  explicit ListViewSkinList(HWND list) : list_(list) {}
  void attach(HWND list) { list_ = list; }

  int append_row() override;
  void set_cell(int row, int column, const std::string& text) override;
  std::string cell(int row, int column) override;
  void delete_row(int row) override;
  int row_count() override;
  int selection() override;
  void repaint_now() override;

 private:
  HWND list_ = nullptr;
};

}  // namespace km
