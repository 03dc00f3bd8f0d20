#include "ui/list_control.h"

namespace km {

void ListViewSkinList::sync_count() {
  SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

int ListViewSkinList::append_row() {
  rows_.emplace_back();
  sync_count();
  if (static_cast<size_t>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)) != rows_.size()) {
    rows_.pop_back();  // the control refused the row
    return -1;
  }
  return static_cast<int>(rows_.size()) - 1;
}

void ListViewSkinList::set_cell(int row, int column, const std::string& text) {
  if (!has_row(row) || column < 0 || column > 1) return;
  rows_[row][column] = text;
  SendMessageA(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

std::string ListViewSkinList::cell(int row, int column) {
  if (!has_row(row) || column < 0 || column > 1) return {};
  return rows_[row][column];
}

void ListViewSkinList::delete_row(int row) {
  if (!has_row(row)) return;
  rows_.erase(rows_.begin() + row);
  // The control moves the later rows' selection and focus up with them.
  SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  sync_count();
  InvalidateRect(list_, nullptr, TRUE);
}

int ListViewSkinList::row_count() { return static_cast<int>(rows_.size()); }

int ListViewSkinList::selection() {
  return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListViewSkinList::repaint_now() { UpdateWindow(list_); }

void ListViewSkinList::fill_display_info(NMLVDISPINFOA& info) {
  LVITEMA& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::string text = cell(item.iItem, item.iSubItem);
  const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
  text.copy(item.pszText, n);
  item.pszText[n] = '\0';
}

ListRedrawPause::ListRedrawPause(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }

ListRedrawPause::~ListRedrawPause() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace km
