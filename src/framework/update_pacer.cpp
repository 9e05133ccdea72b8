#include "framework/update_pacer.h"

#include <algorithm>

namespace brevane::framework {

UpdatePacer::Step UpdatePacer::Request(Clock::time_point now) {
  if (timerRunning_) {
    // A timer a whole interval late is starved: timer messages come only when the queue is
    // empty, and a fast stream keeps it full. The change shows now; the timer, when it comes,
    // shows what came after.
    if (lastShown_ && now - *lastShown_ >= 2 * interval_) {
      lastShown_ = now;
      return Step::ShowNow;
    }
    return Step::TimerRunning;
  }
  if (!lastShown_ || now - *lastShown_ >= interval_) {
    lastShown_ = now;
    return Step::ShowNow;
  }
  timerRunning_ = true;
  return Step::StartTimer;
}

std::chrono::milliseconds UpdatePacer::Delay(Clock::time_point now) const {
  const Clock::time_point due = lastShown_.value_or(now) + interval_;
  return std::max(std::chrono::ceil<std::chrono::milliseconds>(due - now),
                  std::chrono::milliseconds(1));
}

void UpdatePacer::Shown(Clock::time_point now) {
  timerRunning_ = false;
  lastShown_ = now;
}

void UpdatePacer::Forget() {
  timerRunning_ = false;
  lastShown_.reset();
}

}  // namespace brevane::framework
