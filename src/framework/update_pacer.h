#pragma once
// Spaces out an update that costs the UI thread much more than the change behind it (a list
// view that redraws its scroll bar whenever it learns a new row count, while rows stream in
// many times a second). The first change shows at once; later ones at most once per interval,
// and a change that comes inside the interval is kept for its end, so the last state always
// shows. A timer that does not come (its messages wait behind a full queue) does not hold the
// changes back beyond a second interval.
#include <chrono>
#include <optional>

namespace brevane::framework {

class UpdatePacer {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Step {
    ShowNow,      // show the change now
    StartTimer,   // arm a timer for Delay(); show the change when it fires, then call Shown
    TimerRunning  // a timer armed before will show this change too
  };

  explicit UpdatePacer(Clock::duration interval) : interval_(interval) {}

  // A change to show at `now`.
  Step Request(Clock::time_point now);
  // The wait for a timer that StartTimer asked for at `now`: at least 1 ms.
  std::chrono::milliseconds Delay(Clock::time_point now) const;
  // The timer fired and the change was shown at `now`.
  void Shown(Clock::time_point now);
  // Unpaced: the state was shown by other means (or the stream it paced is over). The next
  // change shows at once; a timer still armed has nothing left to show.
  void Forget();
  bool TimerRunning() const { return timerRunning_; }

 private:
  Clock::duration interval_;
  std::optional<Clock::time_point> lastShown_;
  bool timerRunning_ = false;
};

}  // namespace brevane::framework
