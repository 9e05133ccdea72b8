#include "app/row_paging.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

TEST(RowPagingTest, RowsFitFromTheFirstAndScrollsStopWhereTheLastRowsFit) {
  const std::vector<int> rows = {30, 58, 30, 30, 58, 30};  // 236 in all
  const struct {
    int band;
    size_t first;
    long long delta;
    size_t fitting;  // from first
    size_t scrolled;
  } cases[] = {
      {300, 0, 1, 6, 0},     // all fit: nowhere to scroll
      {100, 0, 1, 2, 1},     // 30 + 58
      {100, 1, 1, 2, 2},     // 58 + 30
      {100, 0, 100, 2, 4},   // the last two (58 + 30) fit from row 4 on
      {100, 3, -100, 2, 0},  // never before the first row
      {20, 1, 0, 1, 1},      // a row taller than the band is shown alone
      {20, 0, 100, 1, 5},    // then every row can come first
      {100, 6, 0, 0, 4},     // a first row past the end comes back
      {0, 0, 0, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RowsFitting(rows, c.first, c.band), c.fitting) << c.band << " " << c.first;
    EXPECT_EQ(ScrolledFirstRow(rows, c.band, c.first, c.delta), c.scrolled)
        << c.band << " " << c.first << " " << c.delta;
  }
  EXPECT_EQ(RowsFitting({}, 0, 100), 0u);
  EXPECT_EQ(ScrolledFirstRow({}, 100, 3, 1), 0u);
}

}  // namespace
}  // namespace brevane::app
