#include "support/fake_associations.h"

#include <algorithm>
#include <map>
#include <set>

#include "util/text.h"
#include "wmi/object_path.h"

namespace brevane::testing {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

// One text per object, whatever the case of names or the order of keys.
std::string ObjectKey(const wmi::ObjectPath& path) {
  std::vector<std::string> keys;
  for (const auto& k : path.keys) keys.push_back(util::AsciiLower(k.name) + "=" + k.value);
  std::sort(keys.begin(), keys.end());
  std::string out = util::AsciiLower(path.className) + (path.singleton ? "=@" : "");
  for (const auto& k : keys) out += '\x1f' + k;
  return out;
}

// The path a reference value names, when it is in this namespace on this computer.
std::optional<wmi::ObjectPath> LocalTarget(const wmi::Value& value, const std::string& ns) {
  if (value.cimType != wmi::kCimReference || value.type != wmi::kVtBstr) return std::nullopt;
  auto parse = wmi::ParseObjectPath(value.text);
  if (!parse.path || !wmi::IsLocalServer(parse.path->server)) return std::nullopt;
  if (!parse.path->nameSpace.empty() && !SameText(parse.path->nameSpace, ns)) return std::nullopt;
  return parse.path;
}

}  // namespace

std::optional<AssociationQuery> ParseAssociationQuery(std::string_view text, bool& malformed) {
  malformed = false;
  const std::string trimmed = util::Trim(text);
  const std::string lower = util::AsciiLower(trimmed);
  AssociationQuery query;
  size_t pos = 0;
  if (lower.rfind("associators", 0) == 0) {
    pos = 11;
  } else if (lower.rfind("references", 0) == 0) {
    query.references = true;
    pos = 10;
  } else {
    return std::nullopt;
  }
  malformed = true;
  while (pos < lower.size() && lower[pos] == ' ') ++pos;
  if (lower.compare(pos, 2, "of") != 0) return std::nullopt;
  pos = lower.find('{', pos + 2);
  if (pos == std::string::npos) return std::nullopt;
  // The path ends at the first closing brace outside a quoted key value.
  bool quoted = false;
  size_t end = pos + 1;
  for (; end < trimmed.size(); ++end) {
    const char c = trimmed[end];
    if (quoted && c == '\\') {
      ++end;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == '}' && !quoted) {
      break;
    }
  }
  if (end >= trimmed.size()) return std::nullopt;
  query.path = util::Trim(std::string_view(trimmed).substr(pos + 1, end - pos - 1));
  std::string rest = util::Trim(std::string_view(trimmed).substr(end + 1));
  if (rest.empty()) {
    malformed = false;
    return query;
  }
  if (!SameText(rest.substr(0, 6), "where ")) return std::nullopt;
  // Name = Value pairs separated by spaces, no AND.
  std::string clause = rest.substr(6);
  for (char& c : clause) {
    if (c == '=') c = ' ';
  }
  std::vector<std::string> words;
  size_t start = 0;
  while (start < clause.size()) {
    const size_t stop = std::min(clause.find(' ', start), clause.size());
    if (stop > start) words.push_back(clause.substr(start, stop - start));
    start = stop + 1;
  }
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string name = util::AsciiLower(words[i]);
    if (name == "classdefsonly" || name == "keysonly") continue;
    if (i + 1 >= words.size()) return std::nullopt;
    const std::string& value = words[++i];
    if (name == "resultclass") {
      query.resultClass = value;
    } else if (name == "assocclass" && !query.references) {
      query.assocClass = value;
    } else if (name == "role") {
      query.role = value;
    } else if (name == "resultrole" && !query.references) {
      query.resultRole = value;
    } else {
      return std::nullopt;
    }
  }
  malformed = false;
  return query;
}

AssociationAnswer AnswerAssociationQuery(
    const AssociationQuery& query, const std::string& nameSpace,
    const std::vector<std::shared_ptr<const FakeInstance>>& instances, const IsA& isA) {
  AssociationAnswer answer;
  const auto target = wmi::ParseObjectPath(query.path);
  if (!target.path) return answer;
  const std::string targetKey = ObjectKey(*target.path);
  std::map<std::string, size_t> byKey;
  for (size_t i = 0; i < instances.size(); ++i) {
    const auto path = wmi::ParseObjectPath(instances[i]->relPath);
    if (path.path) byKey.emplace(ObjectKey(*path.path), i);
  }
  answer.targetFound = byKey.count(targetKey) != 0;
  if (!answer.targetFound) return answer;
  std::set<size_t> seen;
  for (size_t i = 0; i < instances.size(); ++i) {
    const FakeInstance& association = *instances[i];
    const wmi::Property* near = nullptr;
    for (const auto& p : association.properties) {
      const auto ref = LocalTarget(p.value, nameSpace);
      if (ref && ObjectKey(*ref) == targetKey &&
          (query.role.empty() || SameText(p.name, query.role))) {
        near = &p;
        break;
      }
    }
    if (!near) continue;
    if (query.references) {
      if (query.resultClass.empty() || isA(association.className, query.resultClass))
        answer.objects.push_back(instances[i]);
      continue;
    }
    if (!query.assocClass.empty() && !isA(association.className, query.assocClass)) continue;
    for (const auto& p : association.properties) {
      if (&p == near || (!query.resultRole.empty() && !SameText(p.name, query.resultRole)))
        continue;
      const auto ref = LocalTarget(p.value, nameSpace);
      if (!ref) continue;
      const auto found = byKey.find(ObjectKey(*ref));
      if (found == byKey.end() || !seen.insert(found->second).second) continue;
      const auto& other = instances[found->second];
      if (query.resultClass.empty() || isA(other->className, query.resultClass))
        answer.objects.push_back(other);
    }
  }
  return answer;
}

}  // namespace brevane::testing
