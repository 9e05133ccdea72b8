// FindInListView over 100 000 rows of ten columns that do not match, the slowest search.
#include <chrono>
#include <cstdio>
#include <string>

#include "support/fake_list_controls.h"
#include "util/list_search.h"

int main() {
  constexpr int kRows = 100000;
  constexpr int kColumns = 10;
  brevane::testing::FakeListView view;
  view.columns = kColumns;
  view.rows.reserve(kRows);
  for (int r = 0; r < kRows; ++r) {
    brevane::util::StringList row;
    row.push_back("svchost.exe");
    for (int c = 1; c < kColumns; ++c) row.push_back("Value " + std::to_string(r * c));
    view.rows.push_back(std::move(row));
  }
  struct Case {
    const char* name;
    bool matchCase;
    bool wholeWord;
  };
  for (const Case& c : {Case{"exact", true, false}, Case{"ignore case", false, false},
                        Case{"ignore case, whole word", false, true}}) {
    const auto start = std::chrono::steady_clock::now();
    const int found =
        brevane::util::FindInListView(view, "NoSuchProcess", true, c.matchCase, c.wholeWord, true);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%-26s %8.1f ms  (result %d)\n", c.name,
                std::chrono::duration<double, std::milli>(elapsed).count(), found);
  }
  // Whole word with a pattern that occurs in every row but never as a word.
  const auto start = std::chrono::steady_clock::now();
  const int found = brevane::util::FindInListView(view, "alue", true, false, true, true);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%-26s %8.1f ms  (result %d)\n", "whole word, rejected hits",
              std::chrono::duration<double, std::milli>(elapsed).count(), found);
  return 0;
}
