// What the program fetches from WMI it gives back, and it never gives anything back (a call to
// the provider) while holding the lock the window takes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/fake_scenarios.h"
#include "support/fake_wmi.h"
#include "support/test_dispatcher.h"
#include "support/vector_instance_list.h"
#include "wmi/instance_loader.h"
#include "wmi/query_ops.h"

namespace brevane::wmi {
namespace {

using namespace std::chrono_literals;
using testing::TestDispatcher;
using testing::VectorInstanceList;

constexpr const char* kStandardNamespace = "root\\cimv2";

class ObjectLifetimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader.SetOnDone([this](int, const std::string&) { ++doneCalls; });
  }

  void Request(const std::string& className) {
    loader.RequestInstances(".", kStandardNamespace, "", "", className, &list);
  }

  std::shared_ptr<testing::FakeWmi> fake = testing::MakeScenario("standard");
  std::shared_ptr<TestDispatcher> dispatcher = std::make_shared<TestDispatcher>();
  VectorInstanceList list;
  int doneCalls = 0;
  InstanceLoader loader{fake, dispatcher, RegionalSettings{}};
};

TEST_F(ObjectLifetimeTest, QueryLoadAndClickGiveBackEverythingTheyFetched) {
  const int before = fake->LiveObjects();
  const ConnectionParams conn{".", kStandardNamespace, "", ""};
  std::string error;
  ResultTable table;
  ASSERT_TRUE(
      RunQuery(*fake, RegionalSettings{}, conn, "select * from Win32_Process", table, error));
  ASSERT_GT(table.rows, 0);
  EXPECT_EQ(fake->LiveObjects(), before) << "query";

  util::StringList names;
  util::StringList values;
  ASSERT_TRUE(ListClassProperties(*fake, conn, "Win32_Process", names, error));
  ASSERT_TRUE(ListInstanceProperties(*fake, RegionalSettings{}, conn, "Win32_Process", 5, &names,
                                     &values, error));
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(fake->LiveObjects(), before) << "click";

  Request("Win32_Service");
  // The loader keeps its connection for the next class, and nothing of the finished walk.
  ASSERT_TRUE(dispatcher->PumpUntil([&] {
    return doneCalls == 1 && fake->LiveObjects() == before + 1;
  })) << fake->LiveObjects() - before;
  EXPECT_EQ(list.lines.size(), 13u);
  loader.Shutdown(5s);
  EXPECT_EQ(fake->LiveObjects(), before) << "load";
}

TEST_F(ObjectLifetimeTest, ANewRequestNeverWaitsForTheLoaderToReleaseTheOldWalk) {
  fake->SetHangAt(2, "InstancesOf");
  Request("Win32_Process");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 3; }));

  fake->HoldReleases(true);
  struct LetGo {
    testing::FakeWmi& fake;
    ~LetGo() { fake.HoldReleases(false); }
  } letGo{*fake};
  Request("Win32_Service");  // the worker drops the old walk, and its release takes long
  // Not pumped meanwhile: with the lock held, the window's own hand-off step would hang.
  for (int waited = 0; fake->ReleasesWaiting() == 0 && waited < 1000; ++waited) {
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_GT(fake->ReleasesWaiting(), 0);

  // The window's next request must not wait for that release. Should it wait, a watchdog lets
  // the release go after a while, so that the fault fails the test instead of hanging it.
  std::atomic<bool> returned{false};
  std::atomic<bool> rescued{false};
  std::thread watchdog([&] {
    for (int waited = 0; !returned && waited < 1000; ++waited) std::this_thread::sleep_for(10ms);
    if (!returned.exchange(true)) {
      rescued = true;
      fake->HoldReleases(false);
    }
  });
  Request("Win32_Process");
  returned = true;
  watchdog.join();
  fake->HoldReleases(false);
  EXPECT_FALSE(rescued);

  fake->ReleaseHang();
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return doneCalls >= 1; }));
}

}  // namespace
}  // namespace brevane::wmi
