#pragma once
// The skin list on a report-view list control. The control is virtual (LVS_OWNERDATA): the rows'
// texts live here and the control asks for them when it draws, so a catalogue of ten thousand
// skins fills in milliseconds rather than one control round trip per cell.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "commands/skin_list.h"

namespace km {

class ListViewSkinList final : public SkinList {
 public:
  ListViewSkinList() = default;
  void attach(HWND list) { list_ = list; }

  int append_row() override;
  void set_cell(int row, int column, const std::string& text) override;
  std::string cell(int row, int column) override;
  void delete_row(int row) override;
  int row_count() override;
  int selection() override;
  void repaint_now() override;

  // The answer to the control's LVN_GETDISPINFOA: the text of the cell it is about to draw.
  void fill_display_info(NMLVDISPINFOA& info);

 private:
  bool has_row(int row) const { return row >= 0 && static_cast<size_t>(row) < rows_.size(); }
  void sync_count();

  HWND list_ = nullptr;
  std::vector<std::array<std::string, 2>> rows_;
};

// Holds the list's drawing while many rows go in (the start-up load); drawing resumes, and the
// whole list is redrawn, when the pause ends.
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
