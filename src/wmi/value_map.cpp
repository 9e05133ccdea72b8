#include "wmi/value_map.h"

#include <cstdint>
#include <optional>

#include "util/text.h"

namespace brevane::wmi {

namespace {

// Any sint64 or uint64 value, comparable.
struct MapNumber {
  bool negative = false;  // never set for zero
  uint64_t magnitude = 0;

  friend bool operator==(const MapNumber&, const MapNumber&) = default;
  friend bool operator<(const MapNumber& a, const MapNumber& b) {
    if (a.negative != b.negative) return a.negative;
    return a.negative ? a.magnitude > b.magnitude : a.magnitude < b.magnitude;
  }
  friend bool operator<=(const MapNumber& a, const MapNumber& b) { return !(b < a); }
};

// An integer as ValueMap entries and rendered values write them: decimal with an optional
// sign, or hexadecimal after "0x". No value for anything else or beyond 64 bits.
std::optional<MapNumber> MapInteger(std::string_view raw) {
  const std::string text = util::Trim(raw);
  std::string_view rest = text;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    base = 16;
    rest.remove_prefix(2);
  }
  if (rest.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : rest) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    const auto b = static_cast<uint64_t>(base);
    if (value > (UINT64_MAX - static_cast<uint64_t>(digit)) / b) return std::nullopt;
    value = value * b + static_cast<uint64_t>(digit);
  }
  return MapNumber{negative && value != 0, value};
}

struct MapRange {
  std::optional<MapNumber> low;   // none: open below
  std::optional<MapNumber> high;  // none: open above
};

// "a..b", "..b", "a.." and ".."; no value for an entry that is not a range.
std::optional<MapRange> ParseRange(std::string_view entry) {
  const size_t dots = entry.find("..");
  if (dots == std::string_view::npos) return std::nullopt;
  const std::string low = util::Trim(entry.substr(0, dots));
  const std::string high = util::Trim(entry.substr(dots + 2));
  MapRange range;
  if (!low.empty() && !(range.low = MapInteger(low))) return std::nullopt;
  if (!high.empty() && !(range.high = MapInteger(high))) return std::nullopt;
  return range;
}

std::string NameAt(const std::vector<std::string>& values, size_t index) {
  return index < values.size() ? values[index] : std::string();
}

std::string WithName(std::string_view value, const std::string& name) {
  if (name.empty()) return std::string(value);
  return std::string(value) + " = " + name;
}

}  // namespace

std::vector<ValueChoice> ValueChoices(const std::vector<std::string>& valueMap,
                                      const std::vector<std::string>& values) {
  std::vector<ValueChoice> choices;
  if (valueMap.empty()) {
    for (size_t i = 0; i < values.size(); ++i) choices.push_back({values[i], std::to_string(i)});
    return choices;
  }
  for (size_t i = 0; i < valueMap.size(); ++i) {
    if (ParseRange(valueMap[i])) continue;
    std::string name = NameAt(values, i);
    choices.push_back({name.empty() ? valueMap[i] : std::move(name), valueMap[i]});
  }
  return choices;
}

std::string ChosenValue(std::string_view fieldText, const std::vector<ValueChoice>& choices) {
  for (const ValueChoice& choice : choices) {
    if (choice.display == fieldText || choice.sent == fieldText) return choice.sent;
  }
  return std::string(fieldText);
}

std::string ValueMeaning(std::string_view value, const std::vector<std::string>& valueMap,
                         const std::vector<std::string>& values) {
  const std::optional<MapNumber> number = MapInteger(value);
  if (valueMap.empty()) {
    if (number && !number->negative && number->magnitude < values.size()) {
      return WithName(value, values[static_cast<size_t>(number->magnitude)]);
    }
    return std::string(value);
  }
  // Single values first, then ranges, then the entry for everything else.
  for (size_t i = 0; i < valueMap.size(); ++i) {
    if (ParseRange(valueMap[i])) continue;
    const std::optional<MapNumber> entry = MapInteger(valueMap[i]);
    const bool same = number && entry ? *number == *entry : util::Trim(valueMap[i]) == value;
    if (same) return WithName(value, NameAt(values, i));
  }
  std::optional<size_t> others;
  for (size_t i = 0; i < valueMap.size() && number; ++i) {
    const std::optional<MapRange> range = ParseRange(valueMap[i]);
    if (!range) continue;
    if (!range->low && !range->high) {
      if (!others) others = i;
      continue;
    }
    if ((!range->low || *range->low <= *number) && (!range->high || *number <= *range->high)) {
      return WithName(value, NameAt(values, i));
    }
  }
  if (others) return WithName(value, NameAt(values, *others));
  return std::string(value);
}

}  // namespace brevane::wmi
