#pragma once
// Events for the fake backend: a notification query on an event class yields the events of
// the source registered for that class, one every `every`, each with an embedded
// TargetInstance. An event class without a source never fires, so a watch on it only ends
// when it is stopped.
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "support/fake_wmi.h"

namespace brevane::testing {

struct FakeEventSource {
  std::string eventClass;                   // the class after FROM that it answers
  std::chrono::microseconds every{100000};  // the time between two events
  int count = -1;                           // events before it falls silent; -1: no end
  // The n-th event (0-based); its TargetInstance goes in `embedded`.
  std::function<std::shared_ptr<const FakeInstance>(int n)> make;
};

// The n-th event of a source that was set going at `start`: it is due at start + (n+1) *
// every. Null when `stop` or `deadline` comes first, or when the source has fallen silent
// (then only after the wait, as a real watch that sees nothing).
std::shared_ptr<const FakeInstance> WaitForEvent(const FakeEventSource& source, int n,
                                                 std::chrono::steady_clock::time_point start,
                                                 std::stop_token stop,
                                                 std::chrono::steady_clock::time_point deadline);

// The event classes WMI has in every namespace (__Event, __InstanceOperationEvent and its
// creation, modification and deletion events, __ExtrinsicEvent, Win32_ProcessStartTrace)
// in root\cimv2, with sources: process creations every `every` (Name "proc<n>.exe",
// ProcessId 1000 + n) and process start traces every `every`. Deletion and modification
// events never fire.
void AddEventWorld(FakeWmi& fake, std::chrono::microseconds every);

}  // namespace brevane::testing
