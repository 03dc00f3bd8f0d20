#include "ui/list_control.h"

#include <commctrl.h>

#include <climits>
#include <vector>

namespace km {

int ListViewSkinList::append_row() {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = INT_MAX;  // after the last row
  item.pszText = const_cast<char*>("");
  return static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

// A row past the end is refused by the control itself (and costs no count query per cell, which the
// start-up load would pay for every row); a negative row would address every row, so it stops here.
void ListViewSkinList::set_cell(int row, int column, const std::string& text) {
  if (row < 0) return;
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListViewSkinList::cell(int row, int column) {
  if (row < 0) return {};
  // The control copies at most the buffer less one byte: grow until the text fits with room left.
  std::vector<char> buffer(256);
  while (true) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied =
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (copied < static_cast<LRESULT>(buffer.size()) - 2) return std::string(item.pszText, static_cast<size_t>(copied));
    buffer.resize(buffer.size() * 4);
  }
}

void ListViewSkinList::delete_row(int row) { SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

int ListViewSkinList::row_count() { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewSkinList::selection() {
  return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListViewSkinList::repaint_now() { UpdateWindow(list_); }

ListRedrawPause::ListRedrawPause(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }

ListRedrawPause::~ListRedrawPause() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace km
