#pragma once
// The one path by which a worker thread gets work done on the UI thread.
#include <functional>

namespace brevane::framework {

class MainThreadDispatcher {
 public:
  virtual ~MainThreadDispatcher() = default;
  // Queues step to run on the UI thread, after every step posted before it. Never waits and
  // never runs the step on the calling thread. Returns false, dropping the step, once the
  // dispatcher has shut down; queued steps that have not run by then are dropped too. Steps
  // therefore own (or share) everything they use. A dispatcher may also return false when
  // it cannot wake the UI thread now; the step then runs late, after a later successful
  // Post, and a caller that must be heard posts again.
  virtual bool Post(std::function<void()> step) = 0;
};

}  // namespace brevane::framework
