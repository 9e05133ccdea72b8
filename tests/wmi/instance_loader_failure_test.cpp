// The loader never leaves "Requesting WMI..." standing silently: a window that cannot be
// reached, a list that refuses lines and a worker that is gone all end in a visible text.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/fake_scenarios.h"
#include "support/fake_wmi.h"
#include "support/test_dispatcher.h"
#include "support/vector_instance_list.h"
#include "wmi/instance_loader.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {
namespace {

using namespace std::chrono_literals;
using testing::TestDispatcher;
using testing::VectorInstanceList;

// Refuses every step while `refusing` is set, as a dispatcher whose wake message cannot be
// posted does.
class RefusingDispatcher final : public framework::MainThreadDispatcher {
 public:
  bool Post(std::function<void()> step) override {
    if (refusing) {
      ++refused;
      return false;
    }
    return inner.Post(std::move(step));
  }
  std::atomic<bool> refusing{false};
  std::atomic<int> refused{0};
  TestDispatcher inner;
};

// A list box out of memory: lines beyond `room` are not taken.
class FullList final : public wmi::InstanceList {
 public:
  explicit FullList(int room) : room_(room) {}
  int Count() const override { return static_cast<int>(lines.size()); }
  void Append(const std::string& line) override {
    if (Count() < room_) lines.push_back(line);
  }
  void ReplaceLast(const std::string& line) override { lines.back() = line; }
  void DeleteLast() override { lines.pop_back(); }
  void Clear() override { lines.clear(); }
  std::vector<std::string> lines;

 private:
  int room_;
};

class NoApartmentWmi final : public testing::FakeWmi {
 public:
  std::unique_ptr<ThreadScope> EnterThread() override {
    throw WmiError(static_cast<int32_t>(0x8001010Eu), "The apartment cannot be entered");
  }
};

struct DoneReports {
  int calls = 0;
  int count = -1;
  std::string message;

  void Follow(InstanceLoader& loader) {
    loader.SetOnDone([this](int doneCount, const std::string& doneMessage) {
      ++calls;
      count = doneCount;
      message = doneMessage;
    });
  }
};

constexpr const char* kCimv2Path = "root\\cimv2";

TEST(InstanceLoaderFailureTest, AWindowThatCannotBeWokenGetsTheFailureOnceItCanBe) {
  auto fake = testing::MakeScenario("standard");
  auto dispatcher = std::make_shared<RefusingDispatcher>();
  InstanceLoader loader(fake, dispatcher, RegionalSettings{});
  DoneReports done;
  done.Follow(loader);
  VectorInstanceList list;
  dispatcher->refusing = true;
  loader.RequestInstances(".", kCimv2Path, "", "", "Win32_Service", &list);
  // The worker keeps trying to reach the window.
  for (int waited = 0; dispatcher->refused < 5 && waited < 1000; ++waited) {
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_GE(dispatcher->refused, 5);
  dispatcher->refusing = false;
  ASSERT_TRUE(dispatcher->inner.PumpUntil([&] { return done.calls == 1; }));
  EXPECT_EQ(done.message, "Instances stopped: the window's message queue is full");
  ASSERT_FALSE(list.lines.empty());
  EXPECT_EQ(list.lines.back(), done.message);
  EXPECT_LT(list.lines.size(), 13u);  // the walk stopped

  loader.RequestInstances(".", kCimv2Path, "", "", "Win32_Service", &list);
  ASSERT_TRUE(dispatcher->inner.PumpUntil([&] { return done.calls == 2; }));
  EXPECT_EQ(done.message, "");
  EXPECT_EQ(done.count, 13);
}

TEST(InstanceLoaderFailureTest, AListThatRefusesALineEndsTheLoadVisibly) {
  auto fake = testing::MakeScenario("standard");
  auto dispatcher = std::make_shared<TestDispatcher>();
  InstanceLoader loader(fake, dispatcher, RegionalSettings{});
  DoneReports done;
  done.Follow(loader);
  FullList full(4);
  loader.RequestInstances(".", kCimv2Path, "", "", "Win32_Service", &full);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return done.calls == 1; }));
  EXPECT_EQ(done.message, "Instances stopped: the instance list cannot take more lines");
  // Four lines fit: labels, and the progress line unless a batch replaced it at once.
  EXPECT_GE(done.count, 3);
  EXPECT_LE(done.count, 4);
  EXPECT_EQ(std::count(full.lines.begin(), full.lines.end(), kProgressLine), 0);
  // The abandoned load reports nothing more.
  dispatcher->PumpUntil([] { return false; }, 300ms);
  EXPECT_EQ(done.calls, 1);

  VectorInstanceList roomy;
  loader.RequestInstances(".", kCimv2Path, "", "", "Win32_Service", &roomy);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return done.calls == 2; }));
  EXPECT_EQ(done.message, "");
  EXPECT_EQ(roomy.lines.size(), 13u);
}

TEST(InstanceLoaderFailureTest, AWorkerThatEndedAnswersEveryRequestWithWhy) {
  auto fake = std::make_shared<NoApartmentWmi>();
  testing::AddStandardWorld(*fake);
  auto dispatcher = std::make_shared<TestDispatcher>();
  InstanceLoader loader(fake, dispatcher, RegionalSettings{});
  DoneReports done;
  done.Follow(loader);
  VectorInstanceList list;
  const std::string expected = "Instances cannot be loaded: The apartment cannot be entered";
  for (int request = 1; request <= 2; ++request) {
    loader.RequestInstances(".", kCimv2Path, "", "", "Win32_Service", &list);
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return done.calls >= request; }));
    EXPECT_EQ(done.message, expected);
    EXPECT_EQ(list.lines, (std::vector<std::string>{expected}));
  }
}

}  // namespace
}  // namespace brevane::wmi
