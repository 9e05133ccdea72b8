#pragma once
// Text rules shared by the whole program. Text is UTF-8 inside; these rules work on bytes,
// which is what the program's comparisons, trimming and ASCII-only case folding need.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevane::util {

// Removes every byte of code 32 or lower (blanks and control characters) at both ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Folds the ASCII capitals A to Z only; every other byte stays as it is.
std::string AsciiLower(std::string_view text);

// The standard integer conversion: leading blanks skipped, optional sign, decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X", digits to the end of the text, value
// within the signed 32-bit range. Anything else gives no value.
std::optional<int32_t> ParseStandardInt(std::string_view text);
inline int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  return ParseStandardInt(text).value_or(fallback);
}

// Byte-wise comparison as unsigned 8-bit codes, a proper beginning first: -1, 0 or 1.
int CompareBytes(std::string_view a, std::string_view b);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace brevane::util
