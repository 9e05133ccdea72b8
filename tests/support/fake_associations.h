#pragma once
// The fake's answer to ASSOCIATORS OF {path} and REFERENCES OF {path}: an association is any
// instance with reference properties; the object at the other end of each of its other
// references is an associator. WHERE takes ResultClass, AssocClass, Role and ResultRole.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/fake_wmi.h"

namespace brevane::testing {

struct AssociationQuery {
  bool references = false;  // REFERENCES OF; else ASSOCIATORS OF
  std::string path;
  std::string resultClass;
  std::string assocClass;
  std::string role;
  std::string resultRole;
};

// Empty when the text is no association query; `malformed` is set when it starts like one but
// cannot be read.
std::optional<AssociationQuery> ParseAssociationQuery(std::string_view text, bool& malformed);

// Whether class `className` is `ancestor` or derives from it.
using IsA = std::function<bool(const std::string& className, const std::string& ancestor)>;

struct AssociationAnswer {
  bool targetFound = false;
  std::vector<std::shared_ptr<const FakeInstance>> objects;
};

// Answers the query over the instances of namespace `nameSpace`.
AssociationAnswer AnswerAssociationQuery(
    const AssociationQuery& query, const std::string& nameSpace,
    const std::vector<std::shared_ptr<const FakeInstance>>& instances, const IsA& isA);

}  // namespace brevane::testing
