#pragma once
// The one path by which a worker thread gets work done on the UI thread.
#include <functional>

namespace brevane {

class MainThreadDispatcher {
 public:
  virtual ~MainThreadDispatcher() = default;
  // Runs step on the main thread while the caller waits; returns once it has run. Returns
  // false, without running it, when the dispatcher is shutting down.
  virtual bool RunInMainThread(const std::function<void()>& step) = 0;
};

}  // namespace brevane
