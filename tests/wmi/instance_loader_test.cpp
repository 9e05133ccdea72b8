#include "wmi/instance_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/fake_wmi.h"
#include "support/test_dispatcher.h"
#include "support/vector_instance_list.h"
#include "util/text.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {
namespace {

using testing::FakeWmi;
using testing::TestDispatcher;
using testing::VectorInstanceList;
using Lines = std::vector<std::string>;

constexpr const char* kNs = "root\\cimv2";

struct Done {
  int calls = 0;
  int count = -1;
  std::string message;
};

class InstanceLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake->AddClass(kNs, "Named", "", {"Caption", "Name"});
    for (int i = 0; i < 5; ++i) {
      fake->AddInstance(kNs, "Named",
                        {{"Caption", Value::Text("c" + std::to_string(i))},
                         {"Name", i == 1 ? Value::Null() : Value::Text("n" + std::to_string(i))}});
    }
    fake->AddClass(kNs, "Captioned", "", {"Size", "caption"});
    fake->AddInstance(kNs, "Captioned",
                      {{"Size", Value::Int(1)}, {"caption", Value::Text("first")}});
    fake->AddClass(kNs, "Devices", "", {"Description", "DeviceID"});
    fake->AddInstance(kNs, "Devices",
                      {{"Description", Value::Text("d")}, {"DeviceID", Value::Text("C:")}});
    fake->AddClass(kNs, "Unlabelled", "", {"Size"});
    fake->AddInstance(kNs, "Unlabelled", {{"Size", Value::Int(42)}});
    fake->AddClass(kNs, "Empty", "", {"Name"});
    loader.SetOnDone([this](int count, const std::string& message) {
      ++done.calls;
      done.count = count;
      done.message = message;
    });
  }

  void Request(const std::string& className, const std::string& user = "",
               const std::string& password = "") {
    loader.RequestInstances(".", kNs, user, password, className, &list);
  }

  bool WaitDone(int calls = 1) {
    return dispatcher->PumpUntil([&] { return done.calls >= calls; });
  }

  std::shared_ptr<FakeWmi> fake = std::make_shared<FakeWmi>();
  std::shared_ptr<TestDispatcher> dispatcher = std::make_shared<TestDispatcher>();
  VectorInstanceList list;
  Done done;
  InstanceLoader loader{fake, dispatcher, RegionalSettings{}};
};

TEST_F(InstanceLoaderTest, LabelsFromTheFirstLabelPropertyWithPlaceholders) {
  Request("Named");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"n0", "<<Instance_01>>", "n2", "n3", "n4"}));
  EXPECT_EQ(done.count, 5);
  EXPECT_EQ(done.message, "");
}

TEST_F(InstanceLoaderTest, LabelPropertyOrderAndCase) {
  Request("Captioned");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"first"}));
  Request("Devices");
  ASSERT_TRUE(WaitDone(2));
  EXPECT_EQ(list.lines, (Lines{"C:"}));
}

TEST_F(InstanceLoaderTest, ObjectTextLabelWhenNoLabelProperty) {
  Request("Unlabelled");
  ASSERT_TRUE(WaitDone());
  ASSERT_EQ(list.lines.size(), 1u);
  EXPECT_EQ(list.lines[0].rfind("[000]instance of Unlabelled", 0), 0u) << list.lines[0];
  EXPECT_EQ(list.lines[0], util::Trim(list.lines[0]).substr(0, list.lines[0].size()));
}

TEST_F(InstanceLoaderTest, EmptyClassShowsThenRemovesTheProgressLine) {
  Request("Empty");
  ASSERT_TRUE(WaitDone());
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(done.count, 0);
  EXPECT_EQ(done.message, "");
}

TEST_F(InstanceLoaderTest, ProgressLineStaysLastWhileLoading) {
  fake->SetHangAt(2);
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 3; }));
  EXPECT_EQ(list.lines, (Lines{"n0", "<<Instance_01>>", kProgressLine}));
  fake->ReleaseHang();
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines.size(), 5u);
}

TEST_F(InstanceLoaderTest, WrongPasswordReplacesTheProgressLine) {
  fake->RequireCredentials("ann", "right");
  Request("Named", "ann", "wrong");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"WMI Error: Access is denied"}));
  EXPECT_EQ(done.count, 0);
  EXPECT_EQ(done.message, "WMI Error: Access is denied");
  // The next request starts afresh.
  Request("Named", "ann", "right");
  ASSERT_TRUE(WaitDone(2));
  EXPECT_EQ(list.lines.size(), 5u);
}

TEST_F(InstanceLoaderTest, FailureReadingALabelKeepsTheLabelsBeforeIt) {
  fake->AddEnumerationFault(
      {"InstancesOf", "", 3, true, WmiError(testing::fake_status::kGenericFailure, "gone")});
  Request("Named");
  ASSERT_TRUE(WaitDone());
  // A failure while fetching the next instance ends the walk like the end of the set.
  EXPECT_EQ(list.lines, (Lines{"n0", "<<Instance_01>>", "n2"}));
  EXPECT_EQ(done.message, "");
  fake->ClearFaults();
  fake->FailCall("PropertyValue",
                 WmiError(testing::fake_status::kGenericFailure, "Generic failure"));
  loader.RefreshInstances();
  ASSERT_TRUE(WaitDone(2));
  EXPECT_EQ(list.lines, (Lines{"WMI Error: Generic failure"}));
}

// Asked to return at once, Windows reports an invalid class from the first fetch.
TEST_F(InstanceLoaderTest, FailureBeforeTheFirstInstanceIsAnError) {
  fake->RaiseFromNext(true);
  Request("Win32_Proces");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"WMI Error: Invalid class"}));
  EXPECT_EQ(done.count, 0);
  EXPECT_EQ(done.message, "WMI Error: Invalid class");
}

TEST_F(InstanceLoaderTest, SwitchingClassMidLoadLeavesNoStaleLabel) {
  fake->SetElementDelay(std::chrono::milliseconds(20));
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() >= 2; }));
  Request("Captioned");
  EXPECT_TRUE(list.lines.empty());  // emptied at once
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"first"}));
  EXPECT_EQ(done.calls, 1);  // the replaced load reports nothing
  EXPECT_EQ(done.count, 1);
}

TEST_F(InstanceLoaderTest, RefreshAndRepeatedRequestReloadFromTheStart) {
  Request("Named");
  ASSERT_TRUE(WaitDone());
  const int connects = fake->ConnectCount();
  loader.RefreshInstances();
  EXPECT_TRUE(list.lines.empty());
  ASSERT_TRUE(WaitDone(2));
  EXPECT_EQ(list.lines.size(), 5u);
  EXPECT_EQ(fake->ConnectCount(), connects);  // the class is listed on the walk's connection
  // The same request again empties the list, so it is filled again from the start.
  Request("Named");
  ASSERT_TRUE(WaitDone(3));
  EXPECT_EQ(list.lines, (Lines{"n0", "<<Instance_01>>", "n2", "n3", "n4"}));
}

TEST_F(InstanceLoaderTest, EmptyClassNameStopsTheLoadAndStillReports) {
  fake->SetHangAt(3);
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 4; }));
  Request("");
  fake->ReleaseHang();
  ASSERT_TRUE(WaitDone());
  EXPECT_TRUE(list.lines.empty());
  EXPECT_GE(done.count, 3);
}

TEST_F(InstanceLoaderTest, NewRequestInterruptsAHangingWalk) {
  fake->SetHangAt(2, "InstancesOf");
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 3; }));
  fake->SetHangAt(std::nullopt);
  Request("Captioned");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"first"}));
}

TEST_F(InstanceLoaderTest, LimitStopsAfterMaxPlusOne) {
  fake->AddClass(kNs, "Big", "", {"Name"});
  for (int i = 0; i < 30005; ++i)
    fake->AddInstance(kNs, "Big", {{"Name", Value::Text(std::to_string(i))}});
  loader.SetMaxInstances(30000);
  Request("Big");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines.size(), 30001u);
  EXPECT_EQ(list.lines.back(), "30000");
  EXPECT_EQ(done.count, 30001);
}

TEST_F(InstanceLoaderTest, ListEmptiedByTheWindowIsLeftAlone) {
  fake->SetHangAt(2);
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 3; }));
  list.Clear();  // a class list reload empties the instance list without a new request
  fake->ReleaseHang();
  ASSERT_TRUE(WaitDone());
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(done.count, 5);
}

// Emptying the panes (F5, another computer) ends the load: nothing of it comes back, and the
// connection stays for the next class.
TEST_F(InstanceLoaderTest, StopLoadingEndsTheLoadSilently) {
  fake->SetHangAt(2);
  Request("Named");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 3; }));
  loader.StopLoading();
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(loader.PathOf(0), "");
  fake->ReleaseHang();
  dispatcher->PumpUntil([] { return false; }, std::chrono::milliseconds(50));
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(done.calls, 0);
  const int connects = fake->ConnectCount();
  Request("Captioned");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(list.lines, (Lines{"first"}));
  EXPECT_EQ(fake->ConnectCount(), connects);
}

TEST(InstanceLoaderShutdownTest, HangingEnumerationNeverReachesTheWindowAfterShutdown) {
  auto fake = std::make_shared<FakeWmi>();
  auto dispatcher = std::make_shared<TestDispatcher>();
  fake->AddClass(kNs, "Named", "", {"Name"});
  for (int i = 0; i < 3; ++i) fake->AddInstance(kNs, "Named", {{"Name", Value::Text("x")}});
  fake->SetHangAt(1);
  VectorInstanceList list;
  int doneCalls = 0;
  {
    InstanceLoader loader(fake, dispatcher, RegionalSettings{});
    loader.SetOnDone([&](int, const std::string&) { ++doneCalls; });
    loader.RequestInstances(".", kNs, "", "", "Named", &list);
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 2; }));
    EXPECT_TRUE(loader.Shutdown(std::chrono::seconds(5)));  // the hang honours the stop request
  }
  dispatcher->RunPending();
  EXPECT_EQ(list.lines.size(), 2u);
  EXPECT_EQ(doneCalls, 0);
}

TEST(InstanceLoaderShutdownTest, ShutdownWhileTheWorkerWaitsOnAFullOutbox) {
  auto fake = std::make_shared<FakeWmi>();
  auto dispatcher = std::make_shared<TestDispatcher>();
  fake->AddClass(kNs, "Named", "", {"Name"});
  for (int i = 0; i < 20; ++i) fake->AddInstance(kNs, "Named", {{"Name", Value::Text("x")}});
  VectorInstanceList list;
  InstanceLoader loader(fake, dispatcher, RegionalSettings{}, OutboxLimits{2, 4});
  loader.RequestInstances(".", kNs, "", "", "Named", &list);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the worker now waits for us
  EXPECT_TRUE(loader.Shutdown(std::chrono::seconds(5)));
  dispatcher->RunPending();  // abandoned steps never run
  EXPECT_TRUE(list.lines.empty());
}

void RunRandomInterleavings(OutboxLimits limits) {
  auto fake = std::make_shared<FakeWmi>();
  auto dispatcher = std::make_shared<TestDispatcher>();
  const std::vector<std::string> classes{"A", "B", "C", "Empty"};
  const std::vector<int> sizes{7, 3, 12, 0};
  for (size_t c = 0; c < classes.size(); ++c) {
    fake->AddClass(kNs, classes[c], "", {"Name"});
    for (int i = 0; i < sizes[c]; ++i) {
      fake->AddInstance(kNs, classes[c], {{"Name", Value::Text(classes[c] + std::to_string(i))}});
    }
  }
  VectorInstanceList list;
  int doneCalls = 0;
  int lastCount = -1;
  InstanceLoader loader(fake, dispatcher, RegionalSettings{}, limits);
  loader.SetOnDone([&](int count, const std::string&) {
    ++doneCalls;
    lastCount = count;
  });
  std::mt19937 random(12345);
  size_t current = 0;
  for (int round = 0; round < 150; ++round) {
    fake->SetElementDelay(std::chrono::milliseconds(random() % 3));
    const int actions = 1 + static_cast<int>(random() % 4);
    // An end reported after the last request can only be its own: older ones are dropped.
    // Without waiting for one, an emptied list and the count of an earlier load of the same
    // class pass for the finished load before its progress line has arrived.
    int before = doneCalls;
    for (int a = 0; a < actions; ++a) {
      if (random() % 3 == 0) {
        loader.RefreshInstances();
      } else {
        current = random() % classes.size();
        loader.RequestInstances(".", kNs, "", "", classes[current], &list);
      }
      before = doneCalls;
      const int pumps = static_cast<int>(random() % 4);
      for (int p = 0; p < pumps; ++p) {
        dispatcher->RunPending();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
      }
    }
    Lines expected;
    for (int i = 0; i < sizes[current]; ++i)
      expected.push_back(classes[current] + std::to_string(i));
    ASSERT_TRUE(dispatcher->PumpUntil([&] {
      return doneCalls > before && list.lines == expected && lastCount == sizes[current];
    })) << "round "
        << round << " lines " << list.lines.size();
    // Nothing late may change it afterwards.
    dispatcher->PumpUntil([] { return false; }, std::chrono::milliseconds(5));
    ASSERT_EQ(list.lines, expected) << "round " << round;
    ASSERT_EQ(lastCount, sizes[current]);
  }
}

// Random interleavings of requests, refreshes and slow enumerations. After every quiet point
// the list must hold exactly the last request's labels (no stale label, no lost request).
// With a small outbox the worker often waits on a full one while requests replace its load.
TEST(InstanceLoaderStressTest, RandomInterleavings) {
  for (const OutboxLimits limits : {OutboxLimits{}, OutboxLimits{3, 5}}) {
    SCOPED_TRACE(limits.maxPending);
    RunRandomInterleavings(limits);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace brevane::wmi
