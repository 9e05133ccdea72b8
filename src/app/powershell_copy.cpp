#include "app/powershell_copy.h"

#include <vector>

#include "util/text.h"
#include "wmi/event_query.h"
#include "wmi/object_path.h"

namespace brevane::app {

namespace {

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// WITHIN as a word of its own outside string literals.
bool HasWithinClause(std::string_view query) {
  const std::string lower = util::AsciiLower(query);
  char quote = 0;
  for (size_t i = 0; i < lower.size(); ++i) {
    const char c = lower[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    if (lower.compare(i, 6, "within") == 0 && (i == 0 || !IsWordCharacter(lower[i - 1])) &&
        (i + 6 == lower.size() || !IsWordCharacter(lower[i + 6]))) {
      return true;
    }
  }
  return false;
}

struct InstanceFilter {
  PowerShellTarget where;
  std::string className;
  std::vector<PowerShellKey> keys;
};

// The class and keys a path names; a full path names its own computer and namespace.
std::optional<InstanceFilter> FilterOf(const PowerShellTarget& target, std::string_view path) {
  const wmi::ObjectPathParse parsed = wmi::ParseObjectPath(path);
  if (!parsed.path || parsed.path->className.empty()) return std::nullopt;
  InstanceFilter filter{target, parsed.path->className, {}};
  for (const wmi::ObjectPathKey& key : parsed.path->keys) {
    if (key.name.empty()) return std::nullopt;
    filter.keys.push_back({key.name, key.value, key.quoted});
  }
  if (!parsed.path->nameSpace.empty()) filter.where.nameSpace = parsed.path->nameSpace;
  if (!wmi::IsLocalServer(parsed.path->server)) filter.where.host = parsed.path->server;
  return filter;
}

}  // namespace

PowerShellTarget PowerShellTargetOf(const wmi::ConnectionParams& connection) {
  return {connection.host, connection.ns, connection.user};
}

bool CopiesAsEventQuery(std::string_view query, std::string_view lastWatchedQuery) {
  if (!lastWatchedQuery.empty() && util::Trim(query) == util::Trim(lastWatchedQuery)) return true;
  const auto className = wmi::SelectedClass(query);
  if (!className) return false;
  const std::string lower = util::AsciiLower(*className);
  const bool systemEvent = lower.size() > 7 && lower.rfind("__", 0) == 0 &&
                           lower.compare(lower.size() - 5, 5, "event") == 0;
  return systemEvent || lower == "__event" || HasWithinClause(query);
}

std::string PowerShellTextOfQuery(const PowerShellTarget& target, std::string_view query,
                                  std::string_view lastWatchedQuery) {
  const std::string trimmed = util::Trim(query);
  return CopiesAsEventQuery(trimmed, lastWatchedQuery) ? PowerShellEventText(target, trimmed)
                                                       : PowerShellQueryText(target, trimmed);
}

std::optional<std::string> PowerShellTextOfInstance(const PowerShellTarget& target,
                                                    std::string_view relativePath) {
  const std::optional<InstanceFilter> filter = FilterOf(target, relativePath);
  if (!filter) return std::nullopt;
  return PowerShellInstanceText(filter->where, filter->className, filter->keys);
}

std::optional<std::string> PowerShellTextOfCall(const PowerShellTarget& target,
                                                std::string_view className,
                                                std::string_view instancePath,
                                                std::string_view methodName,
                                                const std::vector<wmi::MethodArgument>& arguments) {
  std::vector<PowerShellArgument> typed;
  typed.reserve(arguments.size());
  for (const wmi::MethodArgument& argument : arguments)
    typed.push_back({argument.name, argument.value});
  if (instancePath.empty())
    return PowerShellMethodText(target, className, nullptr, methodName, typed);
  const std::optional<InstanceFilter> filter = FilterOf(target, instancePath);
  if (!filter) return std::nullopt;
  return PowerShellMethodText(filter->where, filter->className, &filter->keys, methodName, typed);
}

}  // namespace brevane::app
