#include "util/list_search.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "util/text.h"
#include "util/text_matches.h"

namespace brevane::util {

namespace {

// Used when the view can give neither a row rectangle nor a page size to derive it from.
constexpr int kFallbackRowHeight = 16;

void FoldAsciiInPlace(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

void BuildRowText(const ListViewControl& view, int row, std::string& out) {
  out = view.Caption(row);
  const int shown = std::min(view.SubItemCount(row), view.ColumnCount() - 1);
  for (int i = 0; i < shown; ++i) {
    out += '\r';
    out += view.SubItemText(row, i);
  }
}

int RowHeight(const ListViewControl& view) {
  if (const std::optional<int> height = view.FirstRowHeight(); height && *height > 0) {
    return *height;
  }
  const int perPage = view.CountPerPage();
  if (perPage > 0) {
    const int height = view.ClientHeight() / perPage;
    if (height > 0) return height;
  }
  return kFallbackRowHeight;
}

// Scrolls so that the row found is third from the top; the view stops at its ends, so the
// test is made twice with a fresh top row.
void BringIntoView(ListViewControl& view, int row) {
  const int64_t height = RowHeight(view);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int64_t top = IndexOfListItem(view, view.TopRow());
    const int64_t perPage = view.CountPerPage();
    if (top <= row && row <= top + perPage) return;
    const int64_t pixels = (row - top - 2) * height;
    view.ScrollVertical(static_cast<int>(std::clamp<int64_t>(pixels, INT_MIN, INT_MAX)));
  }
}

}  // namespace

std::string ListViewRowText(const ListViewControl& view, int row) {
  std::string text;
  BuildRowText(view, row, text);
  return text;
}

int FindInListView(ListViewControl& view, std::string_view pattern, bool fromStart, bool matchCase,
                   bool wholeWord, bool selectFound) {
  const int count = view.RowCount();
  if (pattern.empty() || count <= 0) return -1;  // an empty pattern is never found

  int start = 0;
  if (!fromStart && view.SelectedRow() >= 0) {
    const int focused = view.FocusedRow();
    start = focused >= 0 && focused < count ? focused + 1 : 0;
  }
  if (start >= count) start = 0;

  const std::string needle = matchCase ? std::string(pattern) : AsciiLower(pattern);
  std::string rowText;
  int found = -1;
  for (int row = start; row < count; ++row) {
    BuildRowText(view, row, rowText);
    if (!matchCase) FoldAsciiInPlace(rowText);
    if (TextMatches(needle, rowText, wholeWord) > 0) {
      found = row;
      break;
    }
  }

  if (found >= 0 && selectFound) {
    view.SetFocusedRow(found);
    view.SetSelectedRow(found);
    const ListViewStyle style = view.Style();
    if (style == ListViewStyle::List || style == ListViewStyle::Report) BringIntoView(view, found);
  }
  return found;
}

int FindInListBox(ListBoxControl& list, std::string_view pattern, bool fromStart, bool matchCase,
                  bool wholeWord, bool selectFound) {
  const int count = list.ItemCount();
  if (pattern.empty()) return -1;
  const int selected = list.SelectedIndex();
  const int start = fromStart || selected < 0 ? 0 : (selected < count ? selected + 1 : count);

  const std::string needle = matchCase ? std::string(pattern) : AsciiLower(pattern);
  std::string itemText;
  for (int i = start; i < count; ++i) {
    itemText = list.ItemText(i);
    if (!matchCase) FoldAsciiInPlace(itemText);
    if (TextMatches(needle, itemText, wholeWord) > 0) {
      if (selectFound) list.Select(i);
      return i;
    }
  }
  return -1;
}

int IndexOfListItem(const ListViewControl& view, int row) {
  return row >= 0 && row < view.RowCount() ? row : -1;
}

}  // namespace brevane::util
