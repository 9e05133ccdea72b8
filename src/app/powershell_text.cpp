#include "app/powershell_text.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "util/text.h"
#include "util/word_characters.h"

namespace brevane::app {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// PowerShell takes the typographic quotes as quotes too: ‘ ’ ‚ ‛ as single, “ ” „ as double.
bool IsTypographicQuote(std::string_view text, size_t at, bool single) {
  if (at + 2 >= text.size() || text[at] != '\xE2' || text[at + 1] != '\x80') return false;
  const auto third = static_cast<unsigned char>(text[at + 2]);
  return single ? third >= 0x98 && third <= 0x9B : third >= 0x9C && third <= 0x9E;
}

// A text in double quotes, where a backtick escapes what PowerShell would expand or end on.
std::string DoubleQuote(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '`' || c == '$' || IsTypographicQuote(text, i, false)) out += '`';
    out += c;
  }
  return out + "\"";
}

bool IsBareWord(std::string_view text, std::string_view extra) {
  if (text.empty() || (text.front() >= '0' && text.front() <= '9')) return false;
  for (char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || extra.find(c) != std::string::npos;
    if (!plain) return false;
  }
  return true;
}

std::string BareOrQuoted(std::string_view text, std::string_view extra) {
  return IsBareWord(text, extra) ? std::string(text) : PowerShellQuote(text);
}

bool IsLocalHost(std::string_view host) {
  const std::string folded = util::AsciiLower(util::Trim(host));
  return folded.empty() || folded == "." || folded == "localhost";
}

// The lines before the command (a session when a user name is given) and the options that
// say where the command goes.
struct Placement {
  std::string prelude;
  std::string where;  // " -CimSession $session" or " -ComputerName 'x'" or ""
  std::string nameSpace;
};

Placement PlacementOf(const PowerShellTarget& target) {
  Placement placement;
  const bool local = IsLocalHost(target.host);
  const std::string computer =
      local ? std::string() : " -ComputerName " + PowerShellQuote(util::Trim(target.host));
  if (!target.user.empty()) {
    placement.prelude = "$session = New-CimSession" + computer + " -Credential (Get-Credential " +
                        PowerShellQuote(target.user) + ")" + std::string(kLineBreak);
    placement.where = " -CimSession $session";
  } else {
    placement.where = computer;
  }
  std::string nameSpace = util::Trim(target.nameSpace);
  if (nameSpace.empty()) nameSpace = "root\\cimv2";
  for (char& c : nameSpace) {
    if (c == '\\') c = '/';
  }
  placement.nameSpace = " -Namespace " + BareOrQuoted(nameSpace, "/");
  return placement;
}

// A string literal of WQL, which escapes with backslashes.
std::string WqlString(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\\' || c == '\'') out += '\\';
    out += c;
  }
  return out + "'";
}

std::string KeyFilter(const std::vector<PowerShellKey>& keys) {
  std::string filter;
  for (const PowerShellKey& key : keys) {
    if (!filter.empty()) filter += " AND ";
    filter += key.name + "=" + (key.text ? WqlString(key.value) : key.value);
  }
  return filter;
}

std::string GetInstanceCommand(const Placement& placement, std::string_view className,
                               const std::vector<PowerShellKey>& keys) {
  std::string command = "Get-CimInstance" + placement.where + placement.nameSpace + " -ClassName " +
                        BareOrQuoted(className, "");
  if (!keys.empty()) command += " -Filter " + DoubleQuote(KeyFilter(keys));
  return command;
}

struct CimCast {
  uint16_t cimType;
  const char* cast;
};

constexpr std::array<CimCast, 14> kCasts = {{
    {wmi::kCimUint8, "byte"},
    {wmi::kCimSint8, "sbyte"},
    {wmi::kCimUint16, "uint16"},
    {wmi::kCimSint16, "int16"},
    {wmi::kCimUint32, "uint32"},
    {wmi::kCimSint32, "int32"},
    {wmi::kCimUint64, "uint64"},
    {wmi::kCimSint64, "int64"},
    {wmi::kCimReal32, "single"},
    {wmi::kCimReal64, "double"},
    {wmi::kCimChar16, "char"},
    {wmi::kCimBoolean, "bool"},
    {wmi::kCimString, "string"},
    {wmi::kCimReference, "string"},
}};

const char* CastOf(uint16_t elementType) {
  for (const CimCast& cast : kCasts) {
    if (cast.cimType == elementType) return cast.cast;
  }
  return nullptr;
}

template <typename Number>
std::string NumberText(Number number) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
  return std::string(buffer.data(), result.ptr);
}

// A 64-bit number beyond what a double holds exactly goes in as text: PowerShell would read a
// literal that large as a double and lose digits before the cast.
std::string BigIntegerLiteral(const std::string& digits) {
  const std::string_view magnitude =
      !digits.empty() && digits.front() == '-' ? std::string_view(digits).substr(1) : digits;
  const bool exact = magnitude.size() < 16;
  return exact ? digits : PowerShellQuote(digits);
}

std::string CharacterLiteral(uint16_t unit) {
  if (unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF)) {
    return "0x" + NumberText(static_cast<unsigned>(unit));
  }
  std::string utf8;
  if (unit < 0x80) {
    utf8 += static_cast<char>(unit);
  } else if (unit < 0x800) {
    utf8 += static_cast<char>(0xC0 | (unit >> 6));
    utf8 += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    utf8 += static_cast<char>(0xE0 | (unit >> 12));
    utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (unit & 0x3F));
  }
  return PowerShellQuote(utf8);
}

// DMTF text becomes a [datetime] or [timespan] through the converter that reads that form;
// one with unknown fields (asterisks) has no such value and stays text.
std::string DatetimeLiteral(const std::string& dmtf) {
  if (dmtf.find('*') != std::string::npos) return PowerShellQuote(dmtf);
  const bool interval = dmtf.size() > 21 && dmtf[21] == ':';
  return std::string("[Management.ManagementDateTimeConverter]::") +
         (interval ? "ToTimeSpan(" : "ToDateTime(") + PowerShellQuote(dmtf) + ")";
}

// One element without its cast.
std::string ElementLiteral(const wmi::Value& value, uint16_t elementType) {
  switch (elementType) {
    case wmi::kCimUint8:
    case wmi::kCimSint8:
    case wmi::kCimUint16:
    case wmi::kCimSint16:
    case wmi::kCimSint32:
      return NumberText(value.integer);
    case wmi::kCimUint32:
      return NumberText(static_cast<uint32_t>(value.integer));
    case wmi::kCimUint64:
    case wmi::kCimSint64:
      return BigIntegerLiteral(value.text);
    case wmi::kCimReal32:
      return NumberText(static_cast<float>(value.real));
    case wmi::kCimReal64:
      return NumberText(value.real);
    case wmi::kCimBoolean:
      return value.integer != 0 ? "$true" : "$false";
    case wmi::kCimChar16:
      return CharacterLiteral(static_cast<uint16_t>(value.integer));
    case wmi::kCimDatetime:
      return DatetimeLiteral(value.text);
    default:
      return PowerShellQuote(value.text);
  }
}

std::string ArgumentLiteral(const wmi::ParameterValue& parameter) {
  if (!parameter.given || parameter.elements.empty()) {
    return parameter.given && parameter.IsArray() ? "@()" : "$null";
  }
  const auto elementType = static_cast<uint16_t>(parameter.cimType & ~wmi::kCimArrayFlag);
  const char* cast = CastOf(elementType);
  const bool plainText = elementType == wmi::kCimString || elementType == wmi::kCimReference ||
                         elementType == wmi::kCimBoolean || elementType == wmi::kCimDatetime;
  if (!parameter.IsArray()) {
    std::string literal = ElementLiteral(parameter.elements.front(), elementType);
    return plainText || cast == nullptr ? literal : "[" + std::string(cast) + "]" + literal;
  }
  std::string list = "@(";
  for (size_t i = 0; i < parameter.elements.size(); ++i) {
    if (i > 0) list += ", ";
    list += ElementLiteral(parameter.elements[i], elementType);
  }
  list += ")";
  return cast == nullptr ? list : "[" + std::string(cast) + "[]]" + list;
}

}  // namespace

std::string PowerShellQuote(std::string_view text) {
  std::string out = "'";
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\'') {
      out += "''";
    } else if (IsTypographicQuote(text, i, true)) {
      out.append(text.substr(i, 3)).append(text.substr(i, 3));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out + "'";
}

std::string PowerShellQueryText(const PowerShellTarget& target, std::string_view query) {
  const Placement placement = PlacementOf(target);
  return placement.prelude + "Get-CimInstance" + placement.where + placement.nameSpace +
         " -Query " + PowerShellQuote(query);
}

std::string PowerShellInstanceText(const PowerShellTarget& target, std::string_view className,
                                   const std::vector<PowerShellKey>& keys) {
  const Placement placement = PlacementOf(target);
  return placement.prelude + GetInstanceCommand(placement, className, keys);
}

std::string PowerShellEventText(const PowerShellTarget& target, std::string_view query) {
  const Placement placement = PlacementOf(target);
  return placement.prelude + "Register-CimIndicationEvent" + placement.where + placement.nameSpace +
         " -Query " + PowerShellQuote(query) + " -SourceIdentifier 'Brevane'";
}

std::string PowerShellMethodText(const PowerShellTarget& target, std::string_view className,
                                 const std::vector<PowerShellKey>* instance,
                                 std::string_view methodName,
                                 const std::vector<PowerShellArgument>& arguments) {
  const Placement placement = PlacementOf(target);
  std::string command = placement.prelude;
  if (instance != nullptr) {
    command += GetInstanceCommand(placement, className, *instance) + " | Invoke-CimMethod";
  } else {
    command += "Invoke-CimMethod" + placement.where + placement.nameSpace + " -ClassName " +
               BareOrQuoted(className, "");
  }
  command += " -MethodName " + BareOrQuoted(methodName, "");
  if (!arguments.empty()) {
    command += " -Arguments @{ ";
    for (size_t i = 0; i < arguments.size(); ++i) {
      if (i > 0) command += "; ";
      command += BareOrQuoted(arguments[i].name, "") + " = " + ArgumentLiteral(arguments[i].value);
    }
    command += " }";
  }
  return command;
}

}  // namespace brevane::app
