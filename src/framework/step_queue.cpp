#include "framework/step_queue.h"

namespace brevane::framework {

bool StepQueue::Post(std::function<void()> step, bool* wasEmpty) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  if (wasEmpty) *wasEmpty = queue_.empty();
  queue_.push_back(std::move(step));
  return true;
}

int StepQueue::RunPending() {
  std::deque<std::function<void()>> steps;
  {
    std::lock_guard lock(mutex_);
    steps.swap(queue_);
  }
  int ran = 0;
  for (auto& step : steps) {
    {
      std::lock_guard lock(mutex_);
      if (closed_) break;
    }
    try {
      step();
    } catch (...) {
      // A failing step must not take the UI thread down.
    }
    ++ran;
  }
  return ran;
}

bool StepQueue::RunWhile(const std::function<bool()>& keepGoing) {
  size_t budget;
  {
    std::lock_guard lock(mutex_);
    budget = queue_.size();
  }
  for (; budget > 0; --budget) {
    std::function<void()> step;
    {
      std::lock_guard lock(mutex_);
      if (closed_ || queue_.empty()) return false;
      step = std::move(queue_.front());
      queue_.pop_front();
    }
    try {
      step();
    } catch (...) {
      // A failing step must not take the UI thread down.
    }
    if (!keepGoing()) break;
  }
  std::lock_guard lock(mutex_);
  return !closed_ && !queue_.empty();
}

void StepQueue::Close() {
  std::deque<std::function<void()>> dropped;
  std::lock_guard lock(mutex_);
  closed_ = true;
  dropped.swap(queue_);
}

bool StepQueue::Closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace brevane::framework
