#pragma once
// A world to explore and act on: a service class with qualifiers, key, ValueMap/Values and
// methods (three instance methods and a static Create), an association between services, and
// references that lead into another namespace and to another computer.
#include <string>
#include <vector>

#include "support/fake_wmi.h"
#include "wmi/class_definition.h"

namespace brevane::testing {

inline constexpr const char* kObjectWorldNamespace = "root\\cimv2";
inline constexpr const char* kAccountNamespace = "root\\brevane";
inline constexpr const char* kObjectWorldComputer = "BREVANE-PC";
inline constexpr const char* kLockedNamespace = "root\\locked";  // refuses every connection

struct NamespacedDefinition {
  std::string nameSpace;
  wmi::ClassDefinition definition;
};

// Every class of the world with its full definition (Brevane_ManagedElement, Brevane_Service,
// Brevane_DependsOn, Brevane_Account): the one place that says what these classes are.
std::vector<NamespacedDefinition> ObjectWorldClassDefinitions();

// The classes and their instances: services "Alpha", "Beta", "Gamma", "Delta" ("Beta" and
// "Gamma" depend on "Alpha", "Gamma" on "Beta"); Alpha's Owner names an account in
// root\brevane of this computer by its name (kObjectWorldComputer), Beta's one in the namespace
// that refuses (kLockedNamespace), Delta's one on the computer FARAWAY.
void AddObjectWorld(FakeWmi& fake);

// A service "Hub" that `count` services depend on (for the listing of related objects).
void AddManyRelated(FakeWmi& fake, int count);

}  // namespace brevane::testing
