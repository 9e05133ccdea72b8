#pragma once
// The instance loader's outbox, from the worker to the UI thread. The worker queues hand-offs;
// the UI thread takes them in order, a bounded number per dispatcher step so that input keeps
// flowing, and gives them to its sink. While too many wait for the UI thread, the worker waits
// too (back-pressure), so a huge class never piles up in memory. At most one drain step waits
// in the dispatcher; when the dispatcher refuses it (the window's queue is full), the entries
// wait until a retry gets through.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <vector>

#include "framework/main_thread.h"
#include "wmi/instance_handoff.h"

namespace brevane::wmi {

struct OutboxLimits {
  size_t perDrain = 256;     // hand-offs applied per dispatcher step
  size_t maxPending = 8192;  // the worker waits while this many wait for the UI thread
};

class InstanceOutbox : public std::enable_shared_from_this<InstanceOutbox> {
 public:
  using Sink = std::function<void(std::span<const InstanceHandoff> batch)>;
  // How often a worker whose hand-offs could not reach the window tries again.
  static constexpr auto kWakeRetry = std::chrono::milliseconds(100);

  // The sink runs on the UI thread, as a dispatcher step; it must not assume that its owner
  // is still there (a drain step may run after the loader has gone).
  InstanceOutbox(std::shared_ptr<framework::MainThreadDispatcher> dispatcher, OutboxLimits limits,
                 Sink sink);
  InstanceOutbox(const InstanceOutbox&) = delete;
  InstanceOutbox& operator=(const InstanceOutbox&) = delete;

  // Worker: queues a hand-off, waiting while the outbox is full until the UI thread drains it
  // or `stop` is requested (the hand-off is then dropped). False when the window could not be
  // woken: the entry waits, and RetryLostWake (or the next Push) tries again.
  bool Push(InstanceHandoff handoff, std::stop_token stop);
  // Any thread: queues without waiting for room, for the few entries that say why no load
  // can run at all.
  void PushPastLimit(std::vector<InstanceHandoff> handoffs);
  // Worker: whether the last wake was refused, and a new try.
  bool WakeLost() const;
  void RetryLostWake();

 private:
  bool PostDrain();
  void Drain();  // UI thread, as a dispatcher step

  const std::shared_ptr<framework::MainThreadDispatcher> dispatcher_;
  const OutboxLimits limits_;
  const Sink sink_;

  mutable std::mutex lock_;
  std::condition_variable_any drained_;
  std::vector<InstanceHandoff> entries_;
  size_t taken_ = 0;  // entries already given to the sink
  bool drainPosted_ = false;
  bool wakeLost_ = false;  // the dispatcher refused the last drain step
};

}  // namespace brevane::wmi
