#include "app/switches.h"

#include <array>

#include "util/text.h"

namespace brevane::app {

namespace {

struct SwitchRow {
  std::string_view prefix;
  SwitchKind kind;
};

constexpr std::array<SwitchRow, 7> kSwitchRows = {{
    {"-kt:", SwitchKind::MonitorWindow},
    {"-host:", SwitchKind::Host},
    {"-namespace:", SwitchKind::Namespace},
    {"-user:", SwitchKind::User},
    {"-pswd:", SwitchKind::Password},
    {"-query:", SwitchKind::Query},
    {"-computers:", SwitchKind::Computers},
}};

constexpr std::string_view kReadOnlySwitch = "-readonly";

}  // namespace

std::vector<SwitchMatch> MatchSwitches(std::string_view argument) {
  std::vector<SwitchMatch> matches;
  for (const SwitchRow& row : kSwitchRows) {
    if (argument.starts_with(row.prefix)) {
      matches.push_back({row.kind, util::Trim(argument.substr(row.prefix.size()))});
    }
  }
  if (argument == kReadOnlySwitch) matches.push_back({SwitchKind::ReadOnly, {}});
  return matches;
}

int32_t MonitorWindowFromValue(std::string_view value) {
  return util::StrToIntDef(value, 0);
}

void StartupSwitches::Apply(const SwitchMatch& match) {
  switch (match.kind) {
    case SwitchKind::MonitorWindow:
      monitorWindow = MonitorWindowFromValue(match.value);
      break;
    case SwitchKind::Host:
      host = match.value;
      break;
    case SwitchKind::Namespace:
      nameSpace = match.value;
      break;
    case SwitchKind::User:
      user = match.value;
      break;
    case SwitchKind::Password:
      password = match.value;
      break;
    case SwitchKind::Query:
      query = match.value;
      break;
    case SwitchKind::ReadOnly:
      readOnly = true;
      break;
    case SwitchKind::Computers:
      computers = match.value;
      break;
  }
}

StartupSwitches ParseSwitches(const std::vector<std::string>& arguments) {
  StartupSwitches switches;
  for (const std::string& argument : arguments) {
    for (const SwitchMatch& match : MatchSwitches(argument)) switches.Apply(match);
  }
  return switches;
}

}  // namespace brevane::app
