#pragma once
// In-memory combo box, list box and list view for testing the logic that drives the controls.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/list_controls.h"
#include "util/string_list.h"

namespace brevane::testing {

class FakeComboBox : public util::ComboBoxControl {
 public:
  FakeComboBox() = default;
  explicit FakeComboBox(util::StringList initial) : items(std::move(initial)) {}

  util::StringList items;
  std::string editText;

  int ItemCount() const override { return static_cast<int>(items.size()); }
  std::string ItemText(int index) const override { return items.at(static_cast<size_t>(index)); }
  void DeleteItem(int index) override { items.erase(items.begin() + index); }
  void InsertItem(int index, const std::string& text) override {
    items.insert(items.begin() + index, text);
  }
  std::string EditText() const override { return editText; }
  void SetEditText(const std::string& text) override { editText = text; }
};

class FakeListBox : public util::ListBoxControl {
 public:
  util::StringList items;
  int selected = -1;
  mutable int textReads = 0;

  int ItemCount() const override { return static_cast<int>(items.size()); }
  std::string ItemText(int index) const override {
    ++textReads;
    return items.at(static_cast<size_t>(index));
  }
  int SelectedIndex() const override { return selected; }
  void Select(int index) override { selected = index; }
};

// Rows of cells (cell 0 is the caption); scrolling moves the top row by whole rows and stops
// at the ends, as a real report view does.
class FakeListView : public util::ListViewControl {
 public:
  std::vector<util::StringList> rows;
  int columns = 1;
  int selected = -1;
  int focused = -1;
  util::ListViewStyle style = util::ListViewStyle::Report;
  std::optional<int> firstRowHeight = 20;
  int clientHeight = 400;
  int perPage = 20;
  int top = 0;
  std::vector<int> scrolls;        // pixels of every ScrollVertical call
  std::vector<std::string> calls;  // "focus 3", "select 3" in call order

  int RowCount() const override { return static_cast<int>(rows.size()); }
  int ColumnCount() const override { return columns; }
  std::string Caption(int row) const override { return Row(row).empty() ? "" : Row(row)[0]; }
  int SubItemCount(int row) const override {
    return Row(row).empty() ? 0 : static_cast<int>(Row(row).size()) - 1;
  }
  std::string SubItemText(int row, int subItem) const override {
    return Row(row).at(static_cast<size_t>(subItem) + 1);
  }
  int SelectedRow() const override { return selected; }
  int FocusedRow() const override { return focused; }
  void SetFocusedRow(int row) override {
    focused = row;
    calls.push_back("focus " + std::to_string(row));
  }
  void SetSelectedRow(int row) override {
    selected = row;
    calls.push_back("select " + std::to_string(row));
  }
  util::ListViewStyle Style() const override { return style; }
  std::optional<int> FirstRowHeight() const override { return firstRowHeight; }
  int ClientHeight() const override { return clientHeight; }
  int CountPerPage() const override { return perPage; }
  int TopRow() const override { return rows.empty() ? -1 : top; }
  void ScrollVertical(int pixels) override {
    scrolls.push_back(pixels);
    const int height = firstRowHeight.value_or(20) > 0 ? firstRowHeight.value_or(20) : 20;
    const int lastTop = std::max(0, RowCount() - std::max(perPage, 1));
    top = std::clamp(top + pixels / height, 0, lastTop);
  }

 private:
  const util::StringList& Row(int row) const { return rows.at(static_cast<size_t>(row)); }
};

}  // namespace brevane::testing
