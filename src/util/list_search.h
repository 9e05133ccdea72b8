#pragma once
// Searching the rows of the result table and the items of the class list for a text.
#include <string>
#include <string_view>

#include "util/list_controls.h"

namespace brevane::util {

// What the search looks at in a list-view row: the caption, then a carriage return and the
// text of each sub-item that has a column to show in. Sub-items beyond the last column are
// not part of it.
std::string ListViewRowText(const ListViewControl& view, int row);

// Index of the first row from the start row on whose row text contains the pattern, -1 when
// none. The start row is 0 with `fromStart`, without a selection or without a focused row,
// else the row after the focused one; a start beyond the last row begins again at row 0.
// There is no wrap-around inside one call. Without `matchCase` the ASCII letters of pattern
// and row fold to lower case. With `selectFound` the row found becomes focused and
// selected and, in the list and report styles, is scrolled to the third line from the top.
int FindInListView(ListViewControl& view, std::string_view pattern, bool fromStart, bool matchCase,
                   bool wholeWord, bool selectFound);

// The same for a list box, starting at item 0 with `fromStart` or without a selection, else
// after the selected item. It never begins again at the top by itself: with the last item
// selected, a continued search finds nothing.
int FindInListBox(ListBoxControl& list, std::string_view pattern, bool fromStart, bool matchCase,
                  bool wholeWord, bool selectFound);

// Index of a row among the view's rows, -1 for none (rows are addressed by index, so this
// checks the range).
int IndexOfListItem(const ListViewControl& view, int row);

}  // namespace brevane::util
