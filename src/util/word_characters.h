#pragma once
// Which characters make up words for the whole-word search: letters and digits. A compact
// table of Unicode ranges of our own stands in for the platform's character classes, so the
// rule is the same on every platform and for every script the class names can hold.
#include <cstddef>
#include <optional>
#include <string_view>

namespace brevane::util {

bool IsWordCharacter(char32_t codePoint);

// The character that ends just before byte `end` / starts at byte `begin`, if the bytes
// there form one well-formed UTF-8 character (no overlong forms, no surrogates).
std::optional<char32_t> Utf8CharacterBefore(std::string_view text, size_t end);
std::optional<char32_t> Utf8CharacterAt(std::string_view text, size_t begin);

}  // namespace brevane::util
