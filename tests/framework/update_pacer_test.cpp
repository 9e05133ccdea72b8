#include "framework/update_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevane::framework {
namespace {

using Step = UpdatePacer::Step;
using std::chrono::milliseconds;

// One stream of changes, 100 ms apart at most: what each event does at its time.
TEST(UpdatePacerTest, FirstChangeAtOnceThenOnePerIntervalAndTheLastAlwaysShows) {
  enum class Event { Change, TimerFired, Forget };
  struct Case {
    Event event;
    int at;         // ms
    Step step;      // for a change
    int delay = 0;  // for StartTimer: the timer's wait
  };
  const std::vector<Case> cases = {
      {Event::Change, 0, Step::ShowNow},
      {Event::Change, 30, Step::StartTimer, 70},
      {Event::Change, 60, Step::TimerRunning},
      {Event::TimerFired, 100, {}},
      {Event::Change, 150, Step::StartTimer, 50},
      {Event::TimerFired, 200, {}},
      {Event::Change, 450, Step::ShowNow},  // a quiet stream shows each change at once
      {Event::Change, 450, Step::StartTimer, 100},
      {Event::Forget, 460, {}},  // the stream ended with a full update
      {Event::Change, 470, Step::ShowNow},
      {Event::Change, 569, Step::StartTimer, 1},
      {Event::Change, 570, Step::TimerRunning},
      // The timer is starved: a change two intervals after the last shown shows by itself.
      {Event::Change, 669, Step::TimerRunning},
      {Event::Change, 670, Step::ShowNow},
      {Event::Change, 700, Step::TimerRunning},
      {Event::TimerFired, 720, {}},
      {Event::Change, 730, Step::StartTimer, 90},
  };
  UpdatePacer pacer(milliseconds(100));
  const auto zero = UpdatePacer::Clock::time_point{};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    const auto now = zero + milliseconds(c.at);
    switch (c.event) {
      case Event::Change: {
        const Step step = pacer.Request(now);
        EXPECT_EQ(step, c.step);
        if (step == Step::StartTimer) {
          EXPECT_EQ(pacer.Delay(now), milliseconds(c.delay));
        }
        break;
      }
      case Event::TimerFired:
        EXPECT_TRUE(pacer.TimerRunning());
        pacer.Shown(now);
        break;
      case Event::Forget:
        pacer.Forget();
        break;
    }
  }
}

}  // namespace
}  // namespace brevane::framework
