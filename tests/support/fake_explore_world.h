#pragma once
// Nested namespaces for the fake backend: each namespace answers the instances of __NAMESPACE
// (one per child, with its Name), so that listing children works as on Windows.
#include <string>

#include "support/fake_wmi.h"

namespace brevane::testing {

// Adds parent\name and the __NAMESPACE instance in parent that names it.
void AddChildNamespace(FakeWmi& fake, const std::string& parent, const std::string& name);

// root (children cimv2, default, Brevane, Secret), root\Brevane\Deep with the class
// "Brevane_DeepThing" two levels down, root\Brevane with "Brevane_Shallow", and root\Secret,
// which refuses the connection (access denied). Meant on top of the standard world.
void AddExploreWorld(FakeWmi& fake);

// `count` namespaces root\Many_NN, each with `classes` classes "Many_NN_Class_CCCC".
void AddManyNamespaces(FakeWmi& fake, int count, int classes);

}  // namespace brevane::testing
