// Related objects of one service that 12 000 services depend on (the fake's "many-related"
// world): time from the request to the answer on the UI thread, and to the page's lines.
// Printed, never asserted.
#include <chrono>
#include <cstdio>

#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"
#include "wmi/object_explore.h"

int main() {
  using namespace brevane;
  using Clock = std::chrono::steady_clock;
  auto fake = testing::MakeScenario("many-related");
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  wmi::RequestWorker worker(fake, dispatcher);
  const wmi::ConnectionParams conn{".", "root\\cimv2", "", ""};
  for (int run = 0; run < 3; ++run) {
    const auto start = Clock::now();
    wmi::RelatedAnswer answer;
    bool done = false;
    wmi::StartRelatedObjects(worker, conn, "Brevane_Service.Name=\"Hub\"",
                             [&](wmi::RelatedAnswer&& a) {
                               answer = std::move(a);
                               done = true;
                             });
    dispatcher->PumpUntil([&] { return done; }, std::chrono::seconds(120));
    const auto answered = Clock::now();
    std::vector<int> lineObjects;
    const auto lines = wmi::RelatedObjectLines(answer, lineObjects);
    const auto laidOut = Clock::now();
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf(
        "related objects: %zu listed, %zu left out, %zu lines; answer %.1f ms, lines %.1f ms\n",
        answer.objects.size(), answer.leftOut, lines.size(), ms(answered - start),
        ms(laidOut - answered));
  }
  return 0;
}
