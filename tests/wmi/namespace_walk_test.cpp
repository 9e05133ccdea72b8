// The namespace requests on the fake's nested namespaces: a node's children with the refusing
// and the leaf ones found out, and the class search over every namespace (hits from two levels
// down, refusals counted, a WMI that cannot list classes, a stop that stops).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/fake_explore_world.h"
#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"
#include "wmi/class_search_walk.h"
#include "wmi/namespace_children.h"

namespace brevane::wmi {
namespace {

using namespace std::chrono_literals;
using testing::fake_status::kAccessDenied;

struct Fixture {
  std::shared_ptr<testing::FakeWmi> fake = testing::MakeScenario("explore");
  std::shared_ptr<testing::TestDispatcher> dispatcher = std::make_shared<testing::TestDispatcher>();
};

TEST(NamespaceChildrenTest, ListsChildrenAndProbesEach) {
  Fixture f;
  RequestWorker worker(f.fake, f.dispatcher);
  const struct {
    const char* ns;
    bool ok;
    bool refused;
    // name: "R" refused, "+" has children, "-" none
    std::vector<std::pair<std::string, char>> children;
  } cases[] = {
      {"root", true, false, {{"cimv2", '-'}, {"default", '-'}, {"Brevane", '+'}, {"Secret", 'R'}}},
      {"root\\Brevane", true, false, {{"Deep", '-'}, {"Odd Name $&", '-'}}},
      {"root\\Brevane\\Deep", true, false, {}},
      {"root\\Secret", false, true, {}},
      {"root\\NoSuch", false, true, {}},
  };
  for (const auto& c : cases) {
    std::optional<NamespaceChildrenAnswer> answer;
    StartNamespaceChildren(worker, {".", c.ns, "", ""},
                           [&](NamespaceChildrenAnswer&& a) { answer = std::move(a); });
    ASSERT_TRUE(f.dispatcher->PumpUntil([&] { return answer.has_value(); })) << c.ns;
    EXPECT_EQ(answer->ok, c.ok) << c.ns;
    EXPECT_EQ(answer->refused, c.refused) << c.ns;
    EXPECT_EQ(answer->error.empty(), c.ok) << c.ns;
    std::vector<std::pair<std::string, char>> seen;
    for (const auto& child : answer->children) {
      EXPECT_TRUE(child.probed) << child.name;
      seen.emplace_back(child.name, child.refused ? 'R' : child.hasChildren ? '+' : '-');
      if (child.refused) {
        EXPECT_EQ(child.error, "Access is denied");
      }
    }
    EXPECT_EQ(seen, c.children) << c.ns;
  }
}

TEST(NamespaceChildrenTest, HostileNamesAreLeftOutAndProbingIsBounded) {
  Fixture f;
  testing::AddChildNamespace(*f.fake, "root", "bad\\name");
  for (int i = 0; i < 80; ++i) testing::AddChildNamespace(*f.fake, "root", "N" + std::to_string(i));
  RequestWorker worker(f.fake, f.dispatcher);
  std::optional<NamespaceChildrenAnswer> answer;
  StartNamespaceChildren(worker, {".", "root", "", ""},
                         [&](NamespaceChildrenAnswer&& a) { answer = std::move(a); });
  ASSERT_TRUE(f.dispatcher->PumpUntil([&] { return answer.has_value(); }));
  EXPECT_EQ(answer->children.size(), 84u);  // 4 + 80, the backslash one left out
  const auto probed = std::count_if(answer->children.begin(), answer->children.end(),
                                    [](const auto& c) { return c.probed; });
  EXPECT_EQ(static_cast<size_t>(probed), kMaxProbedChildren);
}

struct SearchRun {
  std::set<std::pair<std::string, std::string>> hits;
  int progress = 0;
  std::optional<NamespaceSearch> ended;
  ClassSearchCallbacks Callbacks() {
    return {[this](std::vector<ClassHit>&& batch) {
              for (auto& h : batch) hits.emplace(h.ns, h.className);
            },
            [this](const NamespaceSearch&) { ++progress; },
            [this](const NamespaceSearch& s) { ended = s; }};
  }
};

TEST(ClassSearchWalkTest, FindsClassesInEveryNamespaceAndCountsRefusals) {
  const struct {
    const char* pattern;
    std::set<std::pair<std::string, std::string>> hits;
  } cases[] = {
      {"  deepTHING ", {{"root\\Brevane\\Deep", "Brevane_DeepThing"}}},
      {"brevane_",
       {{"root\\Brevane\\Deep", "Brevane_DeepThing"}, {"root\\Brevane", "Brevane_Shallow"}}},
      {"NoClassIsCalledThis", {}},
  };
  for (const auto& c : cases) {
    Fixture f;
    ClassSearchWalk walk(f.fake, f.dispatcher);
    SearchRun run;
    walk.Start({".", "", "", ""}, c.pattern, run.Callbacks());
    ASSERT_TRUE(f.dispatcher->PumpUntil([&] { return run.ended.has_value(); })) << c.pattern;
    EXPECT_FALSE(walk.Running());
    EXPECT_EQ(run.hits, c.hits) << c.pattern;
    EXPECT_EQ(run.ended->Hits(), c.hits.size());
    // root, cimv2, default, Brevane, Deep, "Odd Name $&" and the refusing Secret.
    EXPECT_EQ(run.ended->Visited(), 7u);
    EXPECT_EQ(run.progress, 7);
    ASSERT_EQ(run.ended->RefusedList().size(), 1u);
    EXPECT_EQ(run.ended->RefusedList()[0].ns, "root\\Secret");
    EXPECT_EQ(run.ended->RefusedList()[0].error, "Access is denied");
  }
}

TEST(ClassSearchWalkTest, AWmiWithoutClassEnumerationEndsTheWalkSayingSo) {
  Fixture f;
  f.fake->FailCall("SubclassesOf",
                   WmiError(testing::fake_status::kGenericFailure, "Generic failure"));
  ClassSearchWalk walk(f.fake, f.dispatcher);
  SearchRun run;
  walk.Start({".", "", "", ""}, "Brevane", run.Callbacks());
  ASSERT_TRUE(f.dispatcher->PumpUntil([&] { return run.ended.has_value(); }));
  EXPECT_TRUE(run.hits.empty());
  EXPECT_EQ(run.ended->UnavailableCount(), 6u);
  EXPECT_EQ(run.ended->LastUnavailableError(), "Generic failure");
  EXPECT_NE(NamespaceSearchSummary(*run.ended, false).find("6 个命名空间无法列出类"),
            std::string::npos);
}

TEST(ClassSearchWalkTest, StopEndsHangingNamespacesQuicklyAndNothingArrivesAfter) {
  Fixture f;
  testing::AddManyNamespaces(*f.fake, 8, 20);
  f.fake->SetHangAt(0, "SubclassesOf");
  ClassSearchWalk walk(f.fake, f.dispatcher);
  SearchRun run;
  walk.Start({".", "", "", ""}, "Class", run.Callbacks());
  std::this_thread::sleep_for(100ms);
  f.dispatcher->RunPending();
  EXPECT_TRUE(walk.Running());
  const auto stopped = std::chrono::steady_clock::now();
  walk.Stop();
  EXPECT_FALSE(walk.Running());
  walk.BeginShutdown();
  EXPECT_TRUE(walk.FinishShutdown(stopped + 2s));
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 250ms);
  f.fake->SetHangAt(std::nullopt);
  f.dispatcher->PumpUntil([] { return false; }, 100ms);
  EXPECT_EQ(run.progress, 0);
  EXPECT_FALSE(run.ended);
}

}  // namespace
}  // namespace brevane::wmi
