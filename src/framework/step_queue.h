#pragma once
// The queue behind MainThreadDispatcher, shared by the Win32 dispatcher and the test
// dispatcher: any thread posts, the UI thread drains in order.
#include <deque>
#include <functional>
#include <mutex>

namespace brevane::framework {

class StepQueue {
 public:
  // Returns false once closed. `wasEmpty` tells the owner whether the UI thread needs a nudge.
  bool Post(std::function<void()> step, bool* wasEmpty = nullptr);
  // UI thread: runs the steps queued so far, in order; returns how many ran. Steps posted by
  // a running step wait for the next call, so one call always ends.
  int RunPending();
  // UI thread: runs the steps queued so far, in order, while keepGoing() holds (asked after
  // each step). Returns true when steps remain queued, for a later call.
  bool RunWhile(const std::function<bool()>& keepGoing);
  // Drops the queued steps and refuses new ones.
  void Close();
  bool Closed() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
  bool closed_ = false;
};

}  // namespace brevane::framework
