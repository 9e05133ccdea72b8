#pragma once
// A class as its definition describes it: where it comes from, what it says of itself, its
// properties and its methods with their parameters. Read once per class on a worker (with the
// amended, localised qualifiers) and shown by the class browser and the method dialog.
#include <cstdint>
#include <string>
#include <vector>

#include "wmi/value.h"

namespace brevane::wmi {

struct Qualifier {
  std::string name;
  Value value;                     // scalars; for arrays the tag and bounds
  std::vector<std::string> items;  // an array's elements as text (ValueMap, Values), in order
};

struct PropertyDefinition {
  std::string name;
  uint16_t cimType = kCimUnknown;  // with kCimArrayFlag for arrays
  std::string originClass;         // the class that declares it
  std::vector<Qualifier> qualifiers;
};

struct ParameterDefinition {
  std::string name;
  uint16_t cimType = kCimUnknown;
  int id = -1;  // the ID qualifier; -1 for ReturnValue, which has none
  std::vector<Qualifier> qualifiers;
};

struct MethodDefinition {
  std::string name;
  std::string originClass;
  std::vector<Qualifier> qualifiers;         // Static, ValueMap and Values of the return codes...
  std::vector<ParameterDefinition> inputs;   // ordered by ID
  std::vector<ParameterDefinition> outputs;  // ReturnValue first, then by ID
};

struct ClassDefinition {
  std::string name;
  std::vector<std::string> derivation;  // superclasses, nearest first (__DERIVATION)
  std::vector<Qualifier> qualifiers;
  std::vector<PropertyDefinition> properties;  // non-system properties, in the class's order
  std::vector<MethodDefinition> methods;
  std::string mofText;  // GetObjectText
};

// The qualifier of that name (case ignored), or null.
const Qualifier* FindQualifier(const std::vector<Qualifier>& qualifiers, const std::string& name);

}  // namespace brevane::wmi
