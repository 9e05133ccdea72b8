#pragma once
// A fleet of computers for the fake backend: computers that answer after a latency of their
// own, dead ones whose connect fails only after a long wait, and ones that refuse at once.
#include <chrono>
#include <string>
#include <vector>

#include "support/fake_wmi.h"

namespace brevane::testing {

struct FleetPlan {
  int computers = 40;
  int deadPercent = 10;
  int refusingPercent = 10;
  std::chrono::milliseconds deadConnect{20000};
  std::chrono::milliseconds minLatency{20};
  std::chrono::milliseconds maxLatency{400};
};

enum class FleetMember { Live, Dead, Refusing };

struct FleetComputer {
  std::string name;  // "pc001", "pc002", ...
  FleetMember member = FleetMember::Live;
  std::chrono::milliseconds latency{0};  // live ones: the connect's time
};

// Adds the plan's computers as hosts of the fake, spread so that dead and refusing ones are
// mixed among the live ones, and returns them in order.
std::vector<FleetComputer> AddFleet(FakeWmi& fake, const FleetPlan& plan);

}  // namespace brevane::testing
