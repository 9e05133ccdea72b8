#include "wmi/class_definition.h"

#include "util/text.h"

namespace brevane::wmi {

const Qualifier* FindQualifier(const std::vector<Qualifier>& qualifiers, const std::string& name) {
  const std::string wanted = util::AsciiLower(name);
  for (const Qualifier& q : qualifiers) {
    if (util::AsciiLower(q.name) == wanted) return &q;
  }
  return nullptr;
}

}  // namespace brevane::wmi
