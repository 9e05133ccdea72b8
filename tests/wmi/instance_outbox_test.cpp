#include "wmi/instance_outbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "support/test_dispatcher.h"

namespace brevane::wmi {
namespace {

using namespace std::chrono_literals;

// The worker fills the outbox and waits while it is full; the UI thread drains it in bounded
// batches, which lets the worker go on; a stop request frees a worker that waits.
TEST(InstanceOutboxTest, AFullOutboxHoldsTheWorkerUntilDrainedOrStopped) {
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  std::vector<uint64_t> applied;
  size_t largestBatch = 0;
  auto outbox = std::make_shared<InstanceOutbox>(
      dispatcher, OutboxLimits{2, 4}, [&](std::span<const InstanceHandoff> batch) {
        largestBatch = std::max(largestBatch, batch.size());
        for (const auto& handoff : batch) applied.push_back(handoff.generation);
      });
  constexpr uint64_t kHandoffs = 20;
  std::atomic<uint64_t> pushed{0};
  std::stop_source stop;
  std::thread worker([&] {
    for (uint64_t i = 0; i < kHandoffs + 8; ++i) {
      outbox->Push(InstanceHandoff::Progress(i), stop.get_token());
      ++pushed;
    }
  });
  // Nothing drains: the worker stops at the limit.
  while (pushed < 4) std::this_thread::yield();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(pushed.load(), 4u);
  EXPECT_TRUE(applied.empty());

  ASSERT_TRUE(dispatcher->PumpUntil([&] { return applied.size() >= kHandoffs; }));
  EXPECT_LE(largestBatch, 2u);
  for (uint64_t i = 0; i < applied.size(); ++i) ASSERT_EQ(applied[i], i);

  // Full again, and the worker is stopped while it waits.
  while (pushed < applied.size() + 4) std::this_thread::yield();
  stop.request_stop();
  worker.join();
  EXPECT_EQ(pushed.load(), kHandoffs + 8);
}

}  // namespace
}  // namespace brevane::wmi
