#include "app/place_arrival.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

TEST(PlaceArrivalTest, RoutesByComputerAndNamespace) {
  struct Case {
    const char* host;
    const char* nameSpace;
    PlaceRoute route;
  };
  // Seen from the connection to "srv", namespace root\cimv2.
  const Case cases[] = {
      {"", "", PlaceRoute::ThisNamespace},
      {".", "ROOT/CIMV2", PlaceRoute::ThisNamespace},
      {"localhost", "\\\\root\\cimv2", PlaceRoute::ThisNamespace},
      {"\\\\SRV", "root\\cimv2", PlaceRoute::ThisNamespace},
      {"srv", "root\\default", PlaceRoute::OtherNamespace},
      {"", "root\\cimv2\\sub", PlaceRoute::OtherNamespace},
      {"other", "root\\cimv2", PlaceRoute::OtherComputer},
      {"other", "", PlaceRoute::OtherComputer},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.host) + " " + c.nameSpace);
    EXPECT_EQ(RouteTo({c.host, c.nameSpace, "Win32_Service", ""}, "srv", "root\\cimv2"), c.route);
  }
  EXPECT_EQ(RouteTo({"", "root\\cimv2", "C", ""}, ".", "root\\cimv2"), PlaceRoute::ThisNamespace);
}

// A followed path, seen from the connection to "localhost", root\cimv2, whose computer writes
// itself "PC01" into its paths.
TEST(PlaceArrivalTest, APathNamingTheComputerConnectedToStaysOnIt) {
  struct Case {
    const char* path;
    const char* ownName;
    Place place;
  };
  const Case cases[] = {
      {R"(Svc.Name="a")", "PC01", {"localhost", "root\\cimv2", "Svc", R"(Svc.Name="a")"}},
      {R"(\\.\root\x:Svc="a")", "PC01", {"localhost", "root\\x", "Svc", R"(Svc="a")"}},
      {R"(\\PC01\root\cimv2:Svc=@)", "PC01", {"localhost", "root\\cimv2", "Svc", "Svc=@"}},
      {R"(\\pc01\root\cimv2:Svc)", "PC01", {"localhost", "root\\cimv2", "Svc", "Svc"}},
      {R"(\\PC02\root\cimv2:Svc)", "PC01", {"PC02", "root\\cimv2", "Svc", "Svc"}},
      // Before any object told the computer's name, a named computer is taken for another.
      {R"(\\PC01\root\cimv2:Svc)", "", {"PC01", "root\\cimv2", "Svc", "Svc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const auto parsed = wmi::ParseObjectPath(c.path);
    ASSERT_TRUE(parsed.path) << parsed.error;
    const Place place = PlaceOfPath(*parsed.path, "localhost", "root\\cimv2", c.ownName);
    EXPECT_EQ(place.host, c.place.host);
    EXPECT_EQ(place.nameSpace, c.place.nameSpace);
    EXPECT_EQ(place.className, c.place.className);
    EXPECT_EQ(place.objectPath, c.place.objectPath);
  }
}

// The steps a window takes to show places, and which of them are visits.
TEST(PlaceArrivalTest, OnlyTheArrivalAtAnObjectIsAVisit) {
  const Place cls{".", "root\\cimv2", "Win32_Service", ""};
  const Place object{".", "root\\cimv2", "Win32_Service", "Win32_Service.Name=\"a\""};
  const Place other{".", "root\\cimv2", "Win32_Process", ""};
  const Place elsewhere{".", "root\\default", "Win32_Service", ""};
  struct Case {
    const char* name;
    const Place* target;  // null: no arrival begun
    bool record;
    std::vector<std::pair<const Place*, bool>> steps;  // shown, and whether it is a visit
  };
  const Case cases[] = {
      {"the user's own choices", nullptr, true, {{&cls, true}, {&object, true}}},
      {"a followed object", &object, true, {{&cls, false}, {&object, true}, {&cls, true}}},
      {"walking to an object", &object, false, {{&cls, false}, {&object, false}, {&cls, true}}},
      {"walking to a class", &cls, false, {{&cls, false}, {&object, true}}},
      {"another class chosen on the way", &object, false, {{&other, true}, {&object, true}}},
      {"the class in another namespace", &object, false, {{&elsewhere, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaceArrival arrival;
    if (c.target) arrival.Begin(*c.target, c.record);
    for (const auto& [shown, visit] : c.steps) EXPECT_EQ(arrival.Shown(*shown), visit);
    EXPECT_FALSE(arrival.Target());
  }
  PlaceArrival gone;
  gone.Begin(object, false);
  gone.Abandon();
  EXPECT_TRUE(gone.Shown(object));
}

}  // namespace
}  // namespace brevane::app
