#include "framework/win32/virtual_list_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevane::framework::win32 {
namespace {

class TableSource final : public RowSource {
 public:
  explicit TableSource(std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {}
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int ColumnCount() const override { return rows_.empty() ? 0 : static_cast<int>(rows_[0].size()); }
  const std::string& Cell(int row, int column) const override {
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

// A hidden owner-data report list view over a source.
class VirtualListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                              400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    view_.Attach(window_, &source_);
    view_.AddColumn("Name", 100);
    view_.AddColumn("Size", 60);
    view_.SyncRowCount();
  }
  void TearDown() override { DestroyWindow(window_); }

  std::wstring Display(int row, int column, int capacity) const {
    std::wstring buffer(static_cast<size_t>(capacity), L'#');
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_TEXT | LVIF_IMAGE;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.pszText = buffer.data();
    info.item.cchTextMax = capacity;
    view_.FillDisplayInfo(info);
    EXPECT_EQ(info.item.iImage, -1);
    return buffer.c_str();
  }

  int Typed(const wchar_t* text, int start, UINT flags = LVFI_STRING | LVFI_PARTIAL) const {
    NMLVFINDITEMW find{};
    find.iStart = start;
    find.lvfi.flags = flags;
    find.lvfi.psz = text;
    return view_.FindTypedRow(find);
  }

  TableSource source_{
      {{"alpha", "1"}, {"Beta", "22"}, {"\xE6\x9F\xA5\xE8\xAF\xA2", "3"}, {"bravo", ""}}};
  HWND window_ = nullptr;
  VirtualListView view_;
};

TEST_F(VirtualListViewTest, DisplaysCellsAndCutsToTheControlsBuffer) {
  EXPECT_EQ(Display(0, 0, 64), L"alpha");
  EXPECT_EQ(Display(1, 1, 64), L"22");
  EXPECT_EQ(Display(2, 0, 64), L"\u67e5\u8be2");
  EXPECT_EQ(Display(0, 0, 3), L"al");
  EXPECT_EQ(Display(9, 0, 8), L"");  // no such row
  EXPECT_EQ(Display(0, 5, 8), L"");  // no such column
  EXPECT_EQ(Display(-1, 0, 8), L"");
}

TEST_F(VirtualListViewTest, ServesTheListSearchInterface) {
  EXPECT_EQ(view_.RowCount(), 4);
  EXPECT_EQ(ListView_GetItemCount(window_), 4);
  EXPECT_EQ(view_.ColumnCount(), 2);
  EXPECT_EQ(view_.Caption(1), "Beta");
  EXPECT_EQ(view_.SubItemCount(1), 1);
  EXPECT_EQ(view_.SubItemText(1, 0), "22");
  EXPECT_EQ(view_.SubItemText(1, 1), "");
  EXPECT_EQ(view_.Caption(7), "");
  EXPECT_EQ(view_.Style(), util::ListViewStyle::Report);

  EXPECT_EQ(view_.SelectedRow(), -1);
  view_.SetSelectedRow(2);
  view_.SetFocusedRow(2);
  EXPECT_EQ(view_.SelectedRow(), 2);
  EXPECT_EQ(view_.FocusedRow(), 2);
  view_.SetSelectedRow(-1);
  EXPECT_EQ(view_.SelectedRow(), -1);
}

TEST_F(VirtualListViewTest, HeaderImagesAndCaptionsChangeIndependently) {
  view_.SetHeaderImage(1, 9);
  EXPECT_EQ(view_.HeaderImage(1), 9);
  EXPECT_EQ(view_.HeaderImage(0), -1);
  view_.SetColumnCaption(1, "Bytes");
  EXPECT_EQ(view_.HeaderImage(1), 9);
  view_.SetHeaderImage(1, -1);
  EXPECT_EQ(view_.HeaderImage(1), -1);
  view_.RemoveAllColumns();
  EXPECT_EQ(view_.HeaderColumnCount(), 0);
}

TEST_F(VirtualListViewTest, TypingFindsTheNextCaptionAndWraps) {
  EXPECT_EQ(Typed(L"b", 0), 1);
  EXPECT_EQ(Typed(L"b", 2), 3);
  EXPECT_EQ(Typed(L"B", 3), 3);
  EXPECT_EQ(Typed(L"al", 1), 0);  // wraps past the end
  EXPECT_EQ(Typed(L"\u67e5", 0), 2);
  EXPECT_EQ(Typed(L"z", 0), -1);
  EXPECT_EQ(Typed(L"bet", 99), 1);  // a start beyond the rows begins at the top
  EXPECT_EQ(Typed(L"bet", 0, LVFI_STRING), -1);
  EXPECT_EQ(Typed(L"beta", 0, LVFI_STRING), 1);
}

}  // namespace
}  // namespace brevane::framework::win32
