#pragma once
// Rows of different heights shown in a band from a first row on, as the method dialog pages its
// parameter rows: which rows fit, and where a scroll may take the first row.
#include <cstddef>
#include <vector>

namespace brevane::app {

// The rows that fit into a band of this height from first on; at least one while there is a
// row at first, so that a row taller than the band is still shown.
size_t RowsFitting(const std::vector<int>& heights, size_t first, int bandHeight);

// The first row moved by delta rows, never before the first row nor past the row from which
// the rest all fit (no empty space below the last row).
size_t ScrolledFirstRow(const std::vector<int>& heights, int bandHeight, size_t first,
                        long long delta);

}  // namespace brevane::app
