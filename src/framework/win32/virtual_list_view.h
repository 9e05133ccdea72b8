#pragma once
// A report list view in owner-data mode: the rows live in our own storage (a RowSource) and
// the control asks for the texts it draws. Implements ListViewControl for the list search.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/update_pacer.h"
#include "util/list_controls.h"

namespace brevane::framework::win32 {

// The table the list view shows; column 0 is the row's caption.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual const std::string& Cell(int row, int column) const = 0;
};

class VirtualListView final : public util::ListViewControl {
 public:
  VirtualListView() = default;
  VirtualListView(HWND listView, const RowSource* source) : listView_(listView), source_(source) {}
  ~VirtualListView() override;
  // A timer may point at this object.
  VirtualListView(const VirtualListView&) = delete;
  VirtualListView& operator=(const VirtualListView&) = delete;
  void Attach(HWND listView, const RowSource* source);
  HWND Handle() const { return listView_; }

  // Tells the control how many rows the source now has. With keepScroll (rows streaming in
  // at the end) the scroll position stays and the control learns the count at most every
  // kRowCountPace, the last count on a timer: each new count redraws the scroll bar, which
  // costs the UI thread more than the rows themselves. Without it, at once.
  void SyncRowCount(bool keepScroll = false);
  static constexpr std::chrono::milliseconds kRowCountPace{100};
  // Answers LVN_GETDISPINFO from the source.
  void FillDisplayInfo(NMLVDISPINFOW& info) const;
  // Answers LVN_ODFINDITEM (typing in the list): the next row from the start row on, wrapping,
  // whose caption begins with the typed text, ASCII letters folded; -1 when none.
  int FindTypedRow(const NMLVFINDITEMW& find) const;

  // Columns on screen (not the source's): captions, widths and header images.
  int HeaderColumnCount() const;
  void RemoveAllColumns();
  void AddColumn(const std::string& caption, int width);
  void SetColumnCaption(int column, const std::string& caption);
  // image -1 removes the column's header image.
  void SetHeaderImage(int column, int image);
  int HeaderImage(int column) const;

  // ListViewControl
  int RowCount() const override;
  int ColumnCount() const override;
  std::string Caption(int row) const override;
  int SubItemCount(int row) const override;
  std::string SubItemText(int row, int subItem) const override;
  int SelectedRow() const override;
  int FocusedRow() const override;
  void SetFocusedRow(int row) override;
  void SetSelectedRow(int row) override;
  util::ListViewStyle Style() const override;
  std::optional<int> FirstRowHeight() const override;
  int ClientHeight() const override;
  int CountPerPage() const override;
  int TopRow() const override;
  void ScrollVertical(int pixels) override;

 private:
  void SetItemCount(bool keepScroll);
  void StopPacing();
  static void CALLBACK OnPaceTimer(HWND listView, UINT, UINT_PTR, DWORD);

  bool ValidRow(int row) const {
    return source_ != nullptr && row >= 0 && row < source_->RowCount();
  }

  HWND listView_ = nullptr;
  const RowSource* source_ = nullptr;
  UpdatePacer rowCountPacer_{kRowCountPace};
};

}  // namespace brevane::framework::win32
