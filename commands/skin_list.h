#pragma once
// The skin list as the commands see it: the rows of the main window's list control, column 0 the
// skin name, column 1 the mount status. Row r stands for position r + 1 of Catalogue::entries();
// the start-up load makes that true and every command keeps it.
#include <string>

namespace km {

constexpr int kNameColumn = 0;
constexpr int kStatusColumn = 1;

class SkinList {
 public:
  virtual ~SkinList() = default;
  // Adds an empty, unselected row after the last one; its index, or -1 when refused.
  virtual int append_row() = 0;
  // Nothing happens for a row that does not exist.
  virtual void set_cell(int row, int column, const std::string& text) = 0;
  // The whole text, whatever its length.
  virtual std::string cell(int row, int column) = 0;
  // Later rows move up; when the removed row was selected, none is selected afterwards.
  virtual void delete_row(int row) = 0;
  virtual int row_count() = 0;
  // Index of the selected row, -1 when none; read from the control every time.
  virtual int selection() = 0;
  // Paints every part of the list that waits to be redrawn, before returning.
  virtual void repaint_now() = 0;
};

}  // namespace km
