#include "app/row_paging.h"

#include <algorithm>

namespace brevane::app {

size_t RowsFitting(const std::vector<int>& heights, size_t first, int bandHeight) {
  long long used = 0;
  size_t fitting = 0;
  for (size_t i = first; i < heights.size(); ++i) {
    if (used + heights[i] > bandHeight && fitting > 0) break;
    used += heights[i];
    ++fitting;
  }
  return fitting;
}

size_t ScrolledFirstRow(const std::vector<int>& heights, int bandHeight, size_t first,
                        long long delta) {
  if (heights.empty()) return 0;
  size_t last = heights.size() - 1;
  while (last > 0 && RowsFitting(heights, last - 1, bandHeight) == heights.size() - (last - 1))
    --last;
  const long long wanted = static_cast<long long>(std::min(first, last)) + delta;
  return static_cast<size_t>(std::clamp<long long>(wanted, 0, static_cast<long long>(last)));
}

}  // namespace brevane::app
