#pragma once
// The ValueMap and Values qualifiers of a property, parameter or method: ValueMap lists the
// values WMI takes, Values their names in the same order. Without ValueMap, the names stand
// for 0, 1, 2, ... A ValueMap entry can also be a range ("16..31", "..9", "100..") or ".."
// for every value no other entry names.
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

struct ValueChoice {
  std::string display;  // the name shown (the Values entry, else the value itself)
  std::string sent;     // the value WMI gets (the ValueMap entry, else the position)
};

// The single values a drop-down offers, in the qualifiers' order; ranges are left out. Where
// the two lists differ in length, the names that have no value are left out and values
// without a name show themselves.
std::vector<ValueChoice> ValueChoices(const std::vector<std::string>& valueMap,
                                      const std::vector<std::string>& values);

// The text to send for what a drop-down field holds: the value of the first choice whose name
// or value it is, else the text itself (a value the qualifiers do not list).
std::string ChosenValue(std::string_view fieldText, const std::vector<ValueChoice>& choices);

// A value with its name, "10 = Service Already Running"; the value alone when no entry names
// it. Integer values compare as numbers ("0x0A" in a ValueMap names 10), others as text.
std::string ValueMeaning(std::string_view value, const std::vector<std::string>& valueMap,
                         const std::vector<std::string>& values);

}  // namespace brevane::wmi
