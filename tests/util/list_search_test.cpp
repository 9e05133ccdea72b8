#include "util/list_search.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_list_controls.h"

namespace brevane::util {
namespace {

using testing::FakeListBox;
using testing::FakeListView;

FakeListView NumberedView(int count, int columns = 1) {
  FakeListView view;
  view.columns = columns;
  for (int i = 0; i < count; ++i) view.rows.push_back({"row" + std::to_string(i)});
  return view;
}

TEST(ListViewRowTextTest, OnlySubItemsWithAColumn) {
  FakeListView view;
  view.rows = {{"C:", "NTFS", "100"}};
  view.columns = 3;
  EXPECT_EQ(ListViewRowText(view, 0), "C:\rNTFS\r100");
  view.columns = 2;
  EXPECT_EQ(ListViewRowText(view, 0), "C:\rNTFS");
  view.columns = 5;  // fewer sub-items than columns
  EXPECT_EQ(ListViewRowText(view, 0), "C:\rNTFS\r100");
  view.columns = 0;
  EXPECT_EQ(ListViewRowText(view, 0), "C:");
  EXPECT_EQ(FindInListView(view, "100", true, true, false, false), -1);
}

TEST(FindInListViewTest, StartRowRules) {
  struct Case {
    bool fromStart;
    int selected;
    int focused;
    int expected;  // every row matches, so the result is the start row
  };
  const Case cases[] = {
      {true, 3, 3, 0},  {false, -1, 3, 0},  // no selection: from the top
      {false, 3, 3, 4}, {false, 3, -1, 0},  // no focused row: from the top
      {false, 1, 9, 0},                     // after the last row: again from the top
      {false, 2, 5, 6}, {false, 0, 1000000, 0},
  };
  for (const Case& c : cases) {
    FakeListView view = NumberedView(10);
    view.selected = c.selected;
    view.focused = c.focused;
    EXPECT_EQ(FindInListView(view, "row", c.fromStart, false, false, false), c.expected)
        << c.fromStart << " " << c.selected << " " << c.focused;
  }
}

TEST(FindInListViewTest, NoWrapInsideOneCall) {
  FakeListView view = NumberedView(10);
  view.selected = view.focused = 5;
  EXPECT_EQ(FindInListView(view, "row2", false, false, false, true), -1);
  EXPECT_EQ(view.selected, 5);
  EXPECT_TRUE(view.calls.empty());
  EXPECT_EQ(FindInListView(view, "row2", true, false, false, false), 2);
}

TEST(FindInListViewTest, CaseAndWholeWord) {
  FakeListView view;
  view.columns = 2;
  view.rows = {{"x", "Win32_Process"}, {"win32", "y"}, {"Straße", "z"}, {"STRASSE", "z"}};
  EXPECT_EQ(FindInListView(view, "WIN32", true, false, false, false), 0);
  EXPECT_EQ(FindInListView(view, "WIN32", true, true, false, false), -1);
  EXPECT_EQ(FindInListView(view, "win32", true, true, true, false), 1);
  EXPECT_EQ(FindInListView(view, "Win32", true, false, true, false), 0);
  EXPECT_EQ(FindInListView(view, "x\rwin32", true, false, false, false), 0);
  // Letters beyond ASCII fold nowhere: only the very same bytes match.
  EXPECT_EQ(FindInListView(view, "STRAßE", true, false, false, false), 2);
  EXPECT_EQ(FindInListView(view, "strasse", true, false, false, false), 3);
  EXPECT_EQ(FindInListView(view, "STRAẞE", true, false, false, false), -1);
  EXPECT_EQ(FindInListView(view, "", true, false, false, false), -1);
}

TEST(FindInListViewTest, FocusesSelectsAndScrollsThirdFromTop) {
  FakeListView view = NumberedView(100);
  view.rows[50] = {"target"};
  EXPECT_EQ(FindInListView(view, "target", true, false, false, true), 50);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"focus 50", "select 50"}));
  EXPECT_EQ(view.scrolls, std::vector<int>{48 * 20});
  EXPECT_EQ(view.top, 48);
}

TEST(FindInListViewTest, ScrollsAgainWhenTheFirstScrollFallsShort) {
  // A view whose first scroll moves only half the way (as a view still laying out might).
  struct HalfScrollView : FakeListView {
    bool first = true;
    void ScrollVertical(int pixels) override {
      FakeListView::ScrollVertical(first ? pixels / 2 : pixels);
      first = false;
    }
  };
  HalfScrollView view;
  for (int i = 0; i < 200; ++i) view.rows.push_back({std::to_string(i)});
  EXPECT_EQ(FindInListView(view, "150", true, true, true, true), 150);
  EXPECT_EQ(view.scrolls, (std::vector<int>{148 * 20 / 2, (150 - 74 - 2) * 20}));
  EXPECT_EQ(view.top, 148);
}

TEST(FindInListViewTest, VisibleRowsAndIconViewsDoNotScroll) {
  FakeListView view = NumberedView(100);
  view.rows[20] = {"target"};  // t <= r <= t + n counts as visible
  FindInListView(view, "target", true, false, false, true);
  EXPECT_TRUE(view.scrolls.empty());

  FakeListView icons = NumberedView(100);
  icons.style = ListViewStyle::Icon;
  icons.rows[80] = {"target"};
  EXPECT_EQ(FindInListView(icons, "target", true, false, false, true), 80);
  EXPECT_EQ(icons.selected, 80);
  EXPECT_TRUE(icons.scrolls.empty());
}

TEST(FindInListViewTest, RowHeightFallbacks) {
  struct Case {
    std::optional<int> firstRowHeight;
    int clientHeight;
    int perPage;
    int expectedHeight;
  };
  const Case cases[] = {
      {std::nullopt, 340, 17, 20},  // client height / rows per page
      {0, 340, 17, 20},
      {std::nullopt, 340, 0, 16},  // no divisor: the fallback height
      {std::nullopt, 5, 17, 16},
  };
  for (const Case& c : cases) {
    FakeListView view = NumberedView(100);
    view.firstRowHeight = c.firstRowHeight;
    view.clientHeight = c.clientHeight;
    view.perPage = c.perPage;
    view.rows[60] = {"target"};
    FindInListView(view, "target", true, false, false, true);
    ASSERT_FALSE(view.scrolls.empty());
    EXPECT_EQ(view.scrolls.front(), 58 * c.expectedHeight);
  }
}

TEST(FindInListViewTest, EmptyView) {
  FakeListView view;
  EXPECT_EQ(FindInListView(view, "x", true, false, false, true), -1);
  EXPECT_EQ(IndexOfListItem(view, 0), -1);
}

TEST(IndexOfListItemTest, Range) {
  const FakeListView view = NumberedView(3);
  EXPECT_EQ(IndexOfListItem(view, -1), -1);
  EXPECT_EQ(IndexOfListItem(view, 0), 0);
  EXPECT_EQ(IndexOfListItem(view, 2), 2);
  EXPECT_EQ(IndexOfListItem(view, 3), -1);
}

TEST(FindInListBoxTest, StartAndSelection) {
  FakeListBox list;
  list.items = {"Win32_Process", "Win32_Service", "CIM_Process"};
  EXPECT_EQ(FindInListBox(list, "process", true, false, false, true), 0);
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(FindInListBox(list, "process", false, false, false, true), 2);
  EXPECT_EQ(list.selected, 2);
  // The last item selected: nothing is searched, no wrap.
  list.textReads = 0;
  EXPECT_EQ(FindInListBox(list, "process", false, false, false, true), -1);
  EXPECT_EQ(list.textReads, 0);
  EXPECT_EQ(list.selected, 2);
  EXPECT_EQ(FindInListBox(list, "Process", true, true, true, false), 0);
  EXPECT_EQ(FindInListBox(list, "PROCESS", true, true, false, false), -1);
  EXPECT_EQ(list.selected, 2);
  list.selected = 1000;  // a stale selection beyond the items
  EXPECT_EQ(FindInListBox(list, "process", false, false, false, true), -1);

  FakeListBox empty;
  EXPECT_EQ(FindInListBox(empty, "x", true, false, false, true), -1);
}

}  // namespace
}  // namespace brevane::util
