// TextMatches and the list searches with arbitrary patterns and rows (valid and invalid
// UTF-8), against a plain re-statement of what a search finds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "support/fake_list_controls.h"
#include "util/list_search.h"
#include "util/text.h"
#include "util/text_matches.h"

namespace {

using brevane::testing::FakeListBox;
using brevane::testing::FakeListView;

void CheckTextMatches(std::string_view pattern, std::string_view text) {
  const size_t plain = brevane::util::TextMatches(pattern, text, false);
  const size_t whole = brevane::util::TextMatches(pattern, text, true);
  if (pattern.empty()) {
    FUZZ_CHECK(plain == 0 && whole == 0);
    return;
  }
  const size_t at = text.find(pattern);
  FUZZ_CHECK(plain == (at == std::string_view::npos ? 0 : at + 1));
  // A whole-word match is some occurrence, never one before the first.
  if (whole != 0) {
    FUZZ_CHECK(whole >= plain && plain != 0);
    FUZZ_CHECK(text.substr(whole - 1, pattern.size()) == pattern);
  }
}

bool RowMatches(std::string rowText, std::string pattern, bool matchCase, bool wholeWord) {
  if (!matchCase) {
    rowText = brevane::util::AsciiLower(rowText);
    pattern = brevane::util::AsciiLower(pattern);
  }
  return brevane::util::TextMatches(pattern, rowText, wholeWord) > 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool fromStart = in.ConsumeBool();
  const bool matchCase = in.ConsumeBool();
  const bool wholeWord = in.ConsumeBool();
  const bool selectFound = in.ConsumeBool();
  const std::string pattern = in.ConsumeRandomLengthString(64);

  FakeListView view;
  FakeListBox box;
  view.columns = in.ConsumeIntegralInRange<int>(-2, 8);
  view.selected = in.ConsumeIntegralInRange<int>(-3, 40);
  view.focused = in.ConsumeIntegralInRange<int>(-3, 40);
  view.style = static_cast<brevane::util::ListViewStyle>(in.ConsumeIntegralInRange<int>(0, 3));
  if (in.ConsumeBool()) {
    view.firstRowHeight = std::nullopt;
  } else {
    view.firstRowHeight = in.ConsumeIntegral<int>();
  }
  view.clientHeight = in.ConsumeIntegral<int>();
  view.perPage = in.ConsumeIntegral<int>();
  view.top = in.ConsumeIntegralInRange<int>(0, 40);
  box.selected = in.ConsumeIntegralInRange<int>(-3, 40);
  const size_t rows = in.ConsumeIntegralInRange<size_t>(0, 40);
  for (size_t r = 0; r < rows; ++r) {
    brevane::util::StringList cells;
    const size_t cellCount = in.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t c = 0; c < cellCount; ++c) cells.push_back(in.ConsumeRandomLengthString(48));
    view.rows.push_back(cells);
    box.items.push_back(cells.empty() ? std::string() : cells.front());
  }
  CheckTextMatches(pattern, in.ConsumeRemainingBytesAsString());
  for (const std::string& item : box.items) CheckTextMatches(pattern, item);

  const FakeListView before = view;
  const int foundRow =
      brevane::util::FindInListView(view, pattern, fromStart, matchCase, wholeWord, selectFound);
  FUZZ_CHECK(foundRow >= -1 && foundRow < view.RowCount());
  int start = 0;
  if (!fromStart && before.selected >= 0 && before.focused >= 0 &&
      before.focused < before.RowCount()) {
    start = before.focused + 1;
  }
  if (start >= before.RowCount()) start = 0;
  int expected = -1;
  for (int r = start; r < before.RowCount() && !pattern.empty(); ++r) {
    if (RowMatches(brevane::util::ListViewRowText(before, r), pattern, matchCase, wholeWord)) {
      expected = r;
      break;
    }
  }
  FUZZ_CHECK(foundRow == expected);
  if (foundRow >= 0 && selectFound) {
    FUZZ_CHECK(view.selected == foundRow && view.focused == foundRow);
  } else {
    FUZZ_CHECK(view.selected == before.selected && view.focused == before.focused);
    FUZZ_CHECK(view.top == before.top);
  }
  FUZZ_CHECK(view.top >= 0);

  const int selectedItem = box.selected;
  const int foundItem =
      brevane::util::FindInListBox(box, pattern, fromStart, matchCase, wholeWord, selectFound);
  int expectedItem = -1;
  const int first = fromStart || selectedItem < 0 ? 0 : selectedItem + 1;
  for (int i = first; i < box.ItemCount() && !pattern.empty(); ++i) {
    if (RowMatches(box.items[static_cast<size_t>(i)], pattern, matchCase, wholeWord)) {
      expectedItem = i;
      break;
    }
  }
  FUZZ_CHECK(foundItem == expectedItem);
  FUZZ_CHECK(box.selected == (foundItem >= 0 && selectFound ? foundItem : selectedItem));
  return 0;
}
