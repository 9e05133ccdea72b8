#pragma once
// Where a search text occurs in a text, optionally only as a whole word.
#include <cstddef>
#include <string_view>

namespace brevane::util {

// 1-based byte position of the first accepted occurrence of `pattern` in `text`, 0 when there
// is none. The comparison is exact (case folding is the caller's). With `wholeWord`, an
// occurrence counts only when the character before it and the character after it are no
// letters or digits; the next try starts one byte after a rejected occurrence, so
// overlapping occurrences are all tried. An empty pattern never matches.
size_t TextMatches(std::string_view pattern, std::string_view text, bool wholeWord);

}  // namespace brevane::util
