#pragma once
// The command-line switches with which a monitoring program starts us: "-kt:", "-host:",
// "-namespace:", "-user:", "-pswd:" and "-query:". Prefixes match case-sensitively from the
// first character; the value is the rest of the argument, trimmed. "-readonly" (no value, the
// whole argument) keeps the program from changing anything: no method can be executed.
// "-computers:" takes a list of computers as the box "计算机" does (ParseComputerList); with
// "-query:" the query runs on them at once.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::app {

enum class SwitchKind {
  MonitorWindow,
  Host,
  Namespace,
  User,
  Password,
  Query,
  ReadOnly,
  Computers
};

struct SwitchMatch {
  SwitchKind kind;
  std::string value;  // trimmed
};

// Every switch row that the argument matches, in the order of the rows (an argument that
// matches none gives nothing).
std::vector<SwitchMatch> MatchSwitches(std::string_view argument);

// The "-kt:" value as a window handle: 0 when it is not a signed 32-bit number.
int32_t MonitorWindowFromValue(std::string_view value);

// What a whole argument list sets; a later argument of the same kind overrides an earlier one.
struct StartupSwitches {
  std::optional<int32_t> monitorWindow;
  std::optional<std::string> host;
  std::optional<std::string> nameSpace;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> query;
  bool readOnly = false;
  std::optional<std::string> computers;  // the list's text, as typed

  void Apply(const SwitchMatch& match);
};

StartupSwitches ParseSwitches(const std::vector<std::string>& arguments);

}  // namespace brevane::app
