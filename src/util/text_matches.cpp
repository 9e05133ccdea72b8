#include "util/text_matches.h"

#include <optional>

#include "util/word_characters.h"

namespace brevane::util {

namespace {

// Bytes that do not form a well-formed character are no letters, so they separate words.
bool IsWord(std::optional<char32_t> character) {
  return character && IsWordCharacter(*character);
}

}  // namespace

size_t TextMatches(std::string_view pattern, std::string_view text, bool wholeWord) {
  if (pattern.empty()) return 0;
  size_t from = 0;
  while (true) {
    const size_t at = text.find(pattern, from);
    if (at == std::string_view::npos) return 0;
    const size_t end = at + pattern.size();
    const bool wordBefore = at > 0 && IsWord(Utf8CharacterBefore(text, at));
    const bool wordAfter = end < text.size() && IsWord(Utf8CharacterAt(text, end));
    if (!wholeWord || (!wordBefore && !wordAfter)) return at + 1;
    from = at + 1;
  }
}

}  // namespace brevane::util
