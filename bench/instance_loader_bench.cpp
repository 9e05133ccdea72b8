// The instance loader on the fake backend: time from request to OnDone for 30 001 instances,
// against a bare walk of the same enumeration.
#include <chrono>
#include <cstdio>

#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"
#include "support/vector_instance_list.h"
#include "wmi/instance_loader.h"
#include "wmi/wmi_session.h"

int main() {
  using namespace brevane;
  using Clock = std::chrono::steady_clock;
  auto fake = std::make_shared<testing::FakeWmi>();
  testing::AddBigClass(*fake, "Bench_Big", 30001, 3);
  auto dispatcher = std::make_shared<testing::TestDispatcher>();

  for (int run = 0; run < 3; ++run) {
    // Bare walk: connect, enumerate, read the label property of each instance.
    auto start = Clock::now();
    auto services = wmi::ConnectWmi(*fake, ".", "root\\cimv2", "", "");
    auto set = services->InstancesOf("Bench_Big", wmi::kFlagSemisync);
    auto walk = set->NewEnum();
    std::unique_ptr<wmi::Object> item;
    std::string error;
    int bare = 0;
    while (wmi::NextEnumItem(*walk, item, error)) {
      item->PropertyValue("Name");
      ++bare;
    }
    const double bareSeconds = std::chrono::duration<double>(Clock::now() - start).count();

    testing::VectorInstanceList list;
    int doneCount = -1;
    wmi::InstanceLoader loader(fake, dispatcher, wmi::RegionalSettings{});
    loader.SetMaxInstances(30000);
    loader.SetOnDone([&](int count, const std::string&) { doneCount = count; });
    start = Clock::now();
    loader.RequestInstances(".", "root\\cimv2", "", "", "Bench_Big", &list);
    dispatcher->PumpUntil([&] { return doneCount >= 0; }, std::chrono::seconds(60));
    const double loadSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf(
        "bare walk: %d instances in %.3f s; loader: %d labels, OnDone(%d) after %.3f s; ratio "
        "%.2f\n",
        bare, bareSeconds, static_cast<int>(list.lines.size()), doneCount, loadSeconds,
        loadSeconds / bareSeconds);
  }
  return 0;
}
