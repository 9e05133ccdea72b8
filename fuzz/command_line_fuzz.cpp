// Command-line splitting and switch parsing over arbitrary command lines.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/switches.h"
#include "fuzz_check.h"
#include "util/text.h"

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// What the wide-to-UTF-8 conversion of a real command line gives: well-formed UTF-8.
bool IsWellFormedUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if (!IsContinuation(text[i + k])) return false;
    }
    i += length;
  }
  return true;
}

size_t Characters(std::string_view text) {
  size_t count = 0;
  for (char c : text) count += IsContinuation(c) ? 0 : 1;
  return count;
}

void CheckSwitches(const std::vector<std::string>& arguments) {
  const brevane::app::StartupSwitches switches = brevane::app::ParseSwitches(arguments);
  // Re-derived by hand: the last argument with a prefix gives its value.
  const auto last = [&](std::string_view prefix) -> std::optional<std::string> {
    std::optional<std::string> value;
    for (const std::string& argument : arguments) {
      if (argument.starts_with(prefix)) value = brevane::util::Trim(argument.substr(prefix.size()));
    }
    return value;
  };
  FUZZ_CHECK(switches.host == last("-host:"));
  FUZZ_CHECK(switches.nameSpace == last("-namespace:"));
  FUZZ_CHECK(switches.user == last("-user:"));
  FUZZ_CHECK(switches.password == last("-pswd:"));
  FUZZ_CHECK(switches.query == last("-query:"));
  const std::optional<std::string> kt = last("-kt:");
  FUZZ_CHECK(switches.monitorWindow.has_value() == kt.has_value());
  if (kt) FUZZ_CHECK(*switches.monitorWindow == brevane::util::StrToIntDef(*kt, 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> all = brevane::app::SplitCommandLine(line);
  const bool wellFormed = IsWellFormedUtf8(line);
  size_t bytes = 0;
  for (const std::string& argument : all) {
    FUZZ_CHECK(argument.find('"') == std::string::npos);
    FUZZ_CHECK(Characters(argument) <= brevane::app::kMaxArgumentChars);
    if (wellFormed) FUZZ_CHECK(argument.size() <= 4 * brevane::app::kMaxArgumentChars);
    bytes += argument.size();
  }
  FUZZ_CHECK(bytes <= size);

  std::vector<std::string> arguments = brevane::app::CommandLineArguments(line);
  FUZZ_CHECK(arguments.size() == (all.empty() ? 0 : all.size() - 1));
  FUZZ_CHECK(std::equal(arguments.begin(), arguments.end(), all.begin() + (all.empty() ? 0 : 1)));

  // Quoting every argument gives the same arguments back.
  std::string quoted;
  for (const std::string& argument : all) quoted += "\"" + argument + "\" ";
  FUZZ_CHECK(brevane::app::SplitCommandLine(quoted) == all);

  CheckSwitches(arguments);
  for (const std::string& argument : arguments) {
    for (const brevane::app::SwitchMatch& match : brevane::app::MatchSwitches(argument)) {
      FUZZ_CHECK(match.value == brevane::util::Trim(match.value));
    }
  }
  return 0;
}
