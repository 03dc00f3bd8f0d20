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

// Holds the list's drawing while many rows go in (the start-up load): otherwise the control lays
// itself out again after every row, which makes a long list quadratic to fill. Drawing resumes,
// and the whole list is redrawn, when the pause ends.
class ListRedrawPause {
 public:
  explicit ListRedrawPause(HWND list);
  ~ListRedrawPause();
  ListRedrawPause(const ListRedrawPause&) = delete;
  ListRedrawPause& operator=(const ListRedrawPause&) = delete;

 private:
  HWND list_;
};

}  // namespace km
