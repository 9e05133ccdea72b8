// The standard integer conversion against a plain 64-bit reference, plus round trips of every
// form the program itself writes.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "util/text.h"

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Written from the rule, not from the implementation: the value saturates far above the
// 32-bit range, so a long run of digits cannot wrap it back into range.
std::optional<int32_t> Reference(std::string_view text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  int64_t sign = 1;
  if (text[i] == '+' || text[i] == '-') {
    sign = text[i] == '-' ? -1 : 1;
    ++i;
  }
  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with("$") || rest.starts_with("x") || rest.starts_with("X")) {
    base = 16;
    i += 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  constexpr int64_t kSaturated = int64_t{1} << 40;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= base) return std::nullopt;
    value = value > kSaturated ? value : value * base + digit;
  }
  value *= sign;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::string Hex(uint32_t magnitude, bool upper) {
  static const char* kLower = "0123456789abcdef";
  static const char* kUpper = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), (upper ? kUpper : kLower)[magnitude % 16]);
    magnitude /= 16;
  } while (magnitude != 0);
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> parsed = brevane::util::ParseStandardInt(text);
  FUZZ_CHECK(parsed == Reference(text));
  FUZZ_CHECK(brevane::util::StrToIntDef(text, 12345) == parsed.value_or(12345));

  if (size >= 4) {
    int32_t n;
    std::memcpy(&n, data, sizeof n);
    const bool negative = n < 0;
    const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    const std::string sign = negative ? "-" : (data[0] & 1 ? "+" : "");
    const std::string blanks(data[1] % 4, ' ');
    for (const std::string& form :
         {std::to_string(n), blanks + std::to_string(n), blanks + sign + "$" + Hex(magnitude, true),
          sign + "0x" + Hex(magnitude, false), sign + "X" + Hex(magnitude, true),
          sign + "0X000" + Hex(magnitude, data[2] & 1)}) {
      FUZZ_CHECK(brevane::util::ParseStandardInt(form) == n);
    }
  }
  return 0;
}
