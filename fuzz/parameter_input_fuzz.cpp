// Typed method parameters from arbitrary text, the names of values, and the PowerShell text
// built from what was accepted.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/powershell_text.h"
#include "fuzz_check.h"
#include "wmi/parameter_input.h"
#include "wmi/value_map.h"

namespace {

using namespace brevane;

constexpr std::array<uint16_t, 16> kTypes = {
    wmi::kCimSint8,    wmi::kCimUint8,  wmi::kCimSint16,    wmi::kCimUint16,
    wmi::kCimSint32,   wmi::kCimUint32, wmi::kCimSint64,    wmi::kCimUint64,
    wmi::kCimReal32,   wmi::kCimReal64, wmi::kCimBoolean,   wmi::kCimString,
    wmi::kCimDatetime, wmi::kCimChar16, wmi::kCimReference, wmi::kCimObject,
};

bool IsSingleQuoteAt(std::string_view text, size_t i, size_t& length) {
  length = 1;
  if (text[i] == '\'') return true;
  length = 3;
  return i + 2 < text.size() && text[i] == '\xE2' && text[i + 1] == '\x80' &&
         static_cast<unsigned char>(text[i + 2]) >= 0x98 &&
         static_cast<unsigned char>(text[i + 2]) <= 0x9B;
}

// Reads a single-quoted PowerShell string back as PowerShell would: a quote ends it unless
// the same quote follows.
std::string Unquote(std::string_view quoted) {
  FUZZ_CHECK(quoted.size() >= 2 && quoted.front() == '\'' && quoted.back() == '\'');
  const std::string_view inner = quoted.substr(1, quoted.size() - 2);
  std::string text;
  for (size_t i = 0; i < inner.size();) {
    size_t length = 0;
    if (IsSingleQuoteAt(inner, i, length)) {
      FUZZ_CHECK(inner.substr(i + length, length) == inner.substr(i, length));
      text.append(inner.substr(i, length));
      i += 2 * length;
    } else {
      text += inner[i++];
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint16_t element = kTypes[data[0] % kTypes.size()];
  const bool array = (data[0] & 0x80) != 0;
  const auto cimType = static_cast<uint16_t>(element | (array ? wmi::kCimArrayFlag : 0));
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const wmi::ParameterParse parse = wmi::ParseParameterText(text, cimType);
  FUZZ_CHECK(parse.value.has_value() != !parse.error.empty());
  if (parse.value) {
    const wmi::ParameterValue& value = *parse.value;
    FUZZ_CHECK(value.cimType == cimType);
    FUZZ_CHECK(value.given || value.elements.empty());
    FUZZ_CHECK(array || !value.given || value.elements.size() == 1);
    FUZZ_CHECK(value.elements.size() <= wmi::kMaxArrayElements);
    for (const wmi::Value& v : value.elements) {
      FUZZ_CHECK(v.cimType == element);
      if (element == wmi::kCimDatetime) FUZZ_CHECK(wmi::CheckDmtfDatetime(v.text).empty());
      // A 64-bit integer's text is its canonical decimal form, so it reads back the same.
      if (element == wmi::kCimSint64 || element == wmi::kCimUint64) {
        const wmi::ParameterParse again = wmi::ParseScalar(v.text, element);
        FUZZ_CHECK(again.value && again.value->elements.front().text == v.text);
      }
    }
    const std::vector<app::PowerShellArgument> arguments = {{"P", value}};
    const std::vector<app::PowerShellKey> keys = {{"Name", std::string(text), true}};
    const std::string call =
        app::PowerShellMethodText({"h", "root\\x", "u"}, "C", &keys, "M", arguments);
    FUZZ_CHECK(call.find(" -MethodName M -Arguments @{ P = ") != std::string::npos);
  }

  FUZZ_CHECK(Unquote(app::PowerShellQuote(text)) == text);

  // The text split at NUL bytes as a ValueMap, the same pieces as their names.
  std::vector<std::string> map;
  size_t begin = 0;
  for (size_t i = 0; i <= text.size() && map.size() < 64; ++i) {
    if (i == text.size() || text[i] == '\0') {
      map.emplace_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  const std::string meaning = wmi::ValueMeaning(map.front(), map, map);
  FUZZ_CHECK(meaning.rfind(map.front(), 0) == 0);
  for (const wmi::ValueChoice& choice : wmi::ValueChoices(map, map)) {
    FUZZ_CHECK(wmi::ChosenValue(choice.sent, {choice}) == choice.sent);
  }
  return 0;
}
