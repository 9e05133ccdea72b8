#include "support/fake_fleet.h"

#include <algorithm>

#include "util/text.h"

namespace brevane::testing {

std::vector<FleetComputer> AddFleet(FakeWmi& fake, const FleetPlan& plan) {
  std::vector<FleetComputer> fleet;
  const int count = std::max(plan.computers, 0);
  const int dead = count * std::clamp(plan.deadPercent, 0, 100) / 100;
  const int refusing = count * std::clamp(plan.refusingPercent, 0, 100) / 100;
  const auto spread = plan.maxLatency - plan.minLatency;
  for (int i = 0; i < count; ++i) {
    FleetComputer computer;
    computer.name = util::Format("pc%03d", i + 1);
    // Every tenth-ish computer dead or refusing, in turn, so they are spread over the list.
    const int slot = i % 10;
    const int round = i / 10;
    if (slot == 3 && round < dead) {
      computer.member = FleetMember::Dead;
    } else if (slot == 7 && round < refusing) {
      computer.member = FleetMember::Refusing;
    }
    fake.AddHost(computer.name);
    FakeWmi::HostAnswer answer;
    switch (computer.member) {
      case FleetMember::Dead:
        answer.delay = plan.deadConnect;
        answer.failure =
            wmi::WmiError(fake_status::kRpcUnavailable, "The RPC server is unavailable");
        break;
      case FleetMember::Refusing:
        answer.failure = wmi::WmiError(fake_status::kAccessDenied, "Access is denied");
        break;
      case FleetMember::Live:
        computer.latency =
            plan.minLatency + (count > 1 ? spread * ((i * 37) % count) / (count - 1) : spread);
        answer.delay = computer.latency;
        break;
    }
    fake.SetHostAnswer(computer.name, answer);
    fleet.push_back(computer);
  }
  return fleet;
}

}  // namespace brevane::testing
