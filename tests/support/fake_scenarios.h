#pragma once
// Ready-made worlds for the fake backend, shared by native tests, benchmarks and the program
// built against the fake (chosen there with BREVANE_FAKE_SCENARIO).
#include <memory>
#include <string>

#include "support/fake_wmi.h"

namespace brevane::testing {

// A small computer: processes, services, an operating system with dates and 64-bit values,
// disks labelled by DeviceID, string arrays, a class without label properties, an empty
// class, a class hierarchy whose subclasses add properties, non-ASCII texts, and Demo_Types
// (one property of each CIM type, delivered as the native API delivers it).
void AddStandardWorld(FakeWmi& fake);

// A class "Brevane_Big" with `count` instances of `properties` properties each.
void AddBigClass(FakeWmi& fake, const std::string& className, int count, int properties);

// Builds the fake for a scenario: a comma-separated list of names, e.g. "standard,big".
// Known names: standard, big (30 001 instances), many-classes (100 000 classes),
// million-cells (100 000 x 10), big-value (a 10 MB text), connect-fails, locator-missing,
// hang (instance listings hang at their third instance), fail-first, fail-kth (element 5),
// property-fails (reading any property value fails), slow (10 ms per element), paced (1 ms
// every 10 elements), hang-query (queries hang at their 41st object until stopped), vanishing
// (the last Win32_Service instance is gone once its instances were listed), dead-host (every
// connect blocks for good), explore (nested namespaces, one refusing: fake_explore_world.h),
// many-namespaces (50 namespaces of 1 000 classes each), objects (services with methods, an
// association between them, a second namespace; fake_object_world.h), many-related (objects, and 12
// 000 services that depend on the service "Hub"), fleet (hosts pc001..pc040: live ones answering
// after 20-400 ms, every tenth dead with a 20 s connect, every tenth refusing), events (event
// classes in root\cimv2: a process creation and a process start trace every 200 ms, deletions and
// modifications never; fake_events.h).
std::shared_ptr<FakeWmi> MakeScenario(const std::string& names);

}  // namespace brevane::testing
