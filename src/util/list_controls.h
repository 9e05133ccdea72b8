#pragma once
// What the history and list-search helpers need of the controls. The Win32 layer implements
// these over the real combo box, list box and list view; tests implement them in memory.
#include <optional>
#include <string>

namespace brevane::util {

class ComboBoxControl {
 public:
  virtual ~ComboBoxControl() = default;
  virtual int ItemCount() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual void DeleteItem(int index) = 0;
  virtual void InsertItem(int index, const std::string& text) = 0;  // index == count appends
  virtual std::string EditText() const = 0;
  virtual void SetEditText(const std::string& text) = 0;
};

class ListBoxControl {
 public:
  virtual ~ListBoxControl() = default;
  virtual int ItemCount() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual int SelectedIndex() const = 0;  // -1 when none
  virtual void Select(int index) = 0;
};

enum class ListViewStyle { Icon, SmallIcon, List, Report };

// Rows are addressed by index (the table is a virtual list view over our own storage).
class ListViewControl {
 public:
  virtual ~ListViewControl() = default;
  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  // The row's caption (cell 0), then its sub-items (cells 1..), as stored for the row.
  virtual std::string Caption(int row) const = 0;
  virtual int SubItemCount(int row) const = 0;
  virtual std::string SubItemText(int row, int subItem) const = 0;
  virtual int SelectedRow() const = 0;  // -1 when none
  virtual int FocusedRow() const = 0;   // -1 when none
  virtual void SetFocusedRow(int row) = 0;
  virtual void SetSelectedRow(int row) = 0;
  virtual ListViewStyle Style() const = 0;
  // Height of row 0's bounding rectangle, when the control can give it.
  virtual std::optional<int> FirstRowHeight() const = 0;
  virtual int ClientHeight() const = 0;
  virtual int CountPerPage() const = 0;
  virtual int TopRow() const = 0;  // -1 when none
  virtual void ScrollVertical(int pixels) = 0;
};

}  // namespace brevane::util
