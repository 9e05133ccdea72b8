// The namespace tree and the class search on the fake: the children of root shown after an
// expand (the listing and the look into each child), and the search for a class over 50
// namespaces of 1 000 classes each, at most 4 namespaces at once. Printed, never asserted.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "support/fake_explore_world.h"
#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"
#include "wmi/class_search_walk.h"
#include "wmi/namespace_children.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
  using namespace brevane;
  auto fake = testing::MakeScenario("many-namespaces");
  testing::AddExploreWorld(*fake);
  auto dispatcher = std::make_shared<testing::TestDispatcher>();

  {
    wmi::RequestWorker worker(fake, dispatcher);
    for (int round = 0; round < 2; ++round) {
      std::optional<wmi::NamespaceChildrenAnswer> answer;
      const auto started = Clock::now();
      wmi::StartNamespaceChildren(worker, {".", "root", "", ""},
                                  [&](wmi::NamespaceChildrenAnswer&& a) { answer = std::move(a); });
      dispatcher->PumpUntil([&] { return answer.has_value(); }, std::chrono::seconds(30));
      std::printf("children of root shown after an expand (%s): %.1f ms, %zu children\n",
                  round == 0 ? "first, connecting" : "again", Ms(Clock::now() - started),
                  answer ? answer->children.size() : 0);
    }
  }

  wmi::ClassSearchWalk walk(fake, dispatcher);
  for (const char* pattern : {"Class_0999", "class"}) {
    size_t hits = 0;
    bool ended = false;
    double firstHit = -1;
    const auto started = Clock::now();
    walk.Start({".", "", "", ""}, pattern,
               {[&](std::vector<wmi::ClassHit>&& batch) {
                  if (firstHit < 0) firstHit = Ms(Clock::now() - started);
                  hits += batch.size();
                },
                nullptr, [&](const wmi::NamespaceSearch&) { ended = true; }});
    dispatcher->PumpUntil([&] { return ended; }, std::chrono::seconds(120));
    const auto* search = walk.Search();
    std::printf(
        "class search \"%s\" over %zu namespaces (50 x 1 000 classes): %.1f ms, %zu hits, "
        "first hit after %.1f ms, %zu refused\n",
        pattern, search ? search->Visited() : 0, Ms(Clock::now() - started), hits, firstHit,
        search ? search->RefusedList().size() : 0);
  }
  return 0;
}
