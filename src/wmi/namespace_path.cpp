#include "wmi/namespace_path.h"

#include "util/text.h"

namespace brevane::wmi {

bool UsableChildName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNamespaceLength) return false;
  if (util::Trim(name).empty()) return false;
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '\\' || c == '/' || code < 32 || code == 127) return false;
  }
  return true;
}

std::string ChildNamespace(std::string_view parent, std::string_view name) {
  std::string full(parent);
  full += '\\';
  full += name;
  return full;
}

std::vector<std::string> NamespaceSteps(std::string_view ns) {
  if (ns.size() > kMaxNamespaceLength) return {};
  std::string text(ns);
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  size_t start = 0;
  if (text.rfind("\\\\", 0) == 0) {  // "\\host\root\...": the host is not part of the name
    const size_t hostEnd = text.find('\\', 2);
    if (hostEnd == std::string::npos) return {};
    start = hostEnd + 1;
  }
  std::vector<std::string> steps;
  std::string full;
  while (start <= text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view part = std::string_view(text).substr(start, end - start);
    if (!part.empty()) {
      if (!UsableChildName(part)) return {};
      full = full.empty() ? std::string(part) : ChildNamespace(full, part);
      steps.push_back(full);
    }
    start = end + 1;
  }
  return steps;
}

bool SameNamespace(std::string_view a, std::string_view b) {
  return a.size() == b.size() && util::AsciiLower(a) == util::AsciiLower(b);
}

std::string NamespaceLeaf(std::string_view ns) {
  const size_t slash = ns.find_last_of('\\');
  return std::string(slash == std::string_view::npos ? ns : ns.substr(slash + 1));
}

}  // namespace brevane::wmi
