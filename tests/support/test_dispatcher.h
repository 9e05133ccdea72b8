#pragma once
// A dispatcher whose "UI thread" is whichever test thread pumps it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "framework/main_thread.h"
#include "framework/step_queue.h"

namespace brevane::testing {

class TestDispatcher final : public framework::MainThreadDispatcher {
 public:
  bool Post(std::function<void()> step) override {
    if (!queue_.Post(std::move(step))) return false;
    {
      std::lock_guard lock(mutex_);
      ++posted_;
    }
    postedChanged_.notify_all();
    return true;
  }

  int RunPending() { return queue_.RunPending(); }

  // Pumps steps until done() holds or the timeout passes; returns done().
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      long seen;
      {
        std::lock_guard lock(mutex_);
        seen = posted_;
      }
      RunPending();
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= until) return done();
      std::unique_lock lock(mutex_);
      postedChanged_.wait_for(lock, std::chrono::milliseconds(2), [&] { return posted_ != seen; });
    }
  }

  void Close() { queue_.Close(); }

 private:
  framework::StepQueue queue_;
  std::mutex mutex_;
  std::condition_variable postedChanged_;
  long posted_ = 0;
};

}  // namespace brevane::testing
