#include "support/fake_events.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace brevane::testing {

std::shared_ptr<const FakeInstance> WaitForEvent(const FakeEventSource& source, int n,
                                                 std::chrono::steady_clock::time_point start,
                                                 std::stop_token stop,
                                                 std::chrono::steady_clock::time_point deadline) {
  const bool silent =
      (source.count >= 0 && n >= source.count) || !source.make || source.every.count() <= 0;
  const auto due =
      silent ? std::chrono::steady_clock::time_point::max() : start + source.every * (n + 1);
  const auto until = std::min(due, deadline);
  // A private wait that only a stop or the time ends.
  std::mutex lock;
  std::condition_variable_any wake;
  std::unique_lock held(lock);
  if (until == std::chrono::steady_clock::time_point::max()) {
    wake.wait(held, stop, [] { return false; });
  } else {
    wake.wait_until(held, stop, until, [] { return false; });
  }
  if (stop.stop_requested() || silent || std::chrono::steady_clock::now() < due) return nullptr;
  return source.make(n);
}

namespace {

std::shared_ptr<const FakeInstance> ProcessCreation(int n) {
  auto target = std::make_shared<FakeInstance>();
  target->className = "Win32_Process";
  target->properties = {{"Name", cim::String("proc" + std::to_string(n) + ".exe")},
                        {"ProcessId", cim::Uint32(static_cast<uint32_t>(1000 + n))}};
  target->relPath = "Win32_Process.Handle=\"" + std::to_string(1000 + n) + "\"";
  auto event = std::make_shared<FakeInstance>();
  event->className = "__InstanceCreationEvent";
  event->properties = {{"SECURITY_DESCRIPTOR", cim::Null(wmi::kCimUint8 | wmi::kCimArrayFlag)},
                       {"TargetInstance", cim::Object()},
                       {"TIME_CREATED", cim::Uint64(133000000000000000ull + n)}};
  event->embedded = {{"TargetInstance", std::move(target)}};
  return event;
}

std::shared_ptr<const FakeInstance> ProcessStartTrace(int n) {
  auto event = std::make_shared<FakeInstance>();
  event->className = "Win32_ProcessStartTrace";
  event->properties = {{"ProcessID", cim::Uint32(static_cast<uint32_t>(2000 + n))},
                       {"ProcessName", cim::String("trace" + std::to_string(n) + ".exe")},
                       {"TIME_CREATED", cim::Uint64(133000000000000000ull + n)}};
  return event;
}

}  // namespace

void AddEventWorld(FakeWmi& fake, std::chrono::microseconds every) {
  const std::string ns = "root\\cimv2";
  fake.AddNamespace(ns);
  const std::vector<std::string> base{"SECURITY_DESCRIPTOR", "TIME_CREATED"};
  const std::vector<uint16_t> baseTypes{wmi::kCimUint8 | wmi::kCimArrayFlag, wmi::kCimUint64};
  fake.AddClass(ns, "__Event", "", base, baseTypes);
  fake.AddClass(ns, "__InstanceOperationEvent", "__Event",
                {"SECURITY_DESCRIPTOR", "TargetInstance", "TIME_CREATED"},
                {wmi::kCimUint8 | wmi::kCimArrayFlag, wmi::kCimObject, wmi::kCimUint64});
  for (const char* name :
       {"__InstanceCreationEvent", "__InstanceDeletionEvent", "__InstanceModificationEvent"}) {
    fake.AddClass(ns, name, "__InstanceOperationEvent",
                  {"SECURITY_DESCRIPTOR", "TargetInstance", "TIME_CREATED"},
                  {wmi::kCimUint8 | wmi::kCimArrayFlag, wmi::kCimObject, wmi::kCimUint64});
  }
  fake.AddClass(ns, "__ExtrinsicEvent", "__Event", base, baseTypes);
  fake.AddClass(ns, "Win32_ProcessStartTrace", "__ExtrinsicEvent",
                {"ProcessID", "ProcessName", "TIME_CREATED"},
                {wmi::kCimUint32, wmi::kCimString, wmi::kCimUint64});
  fake.AddEventSource(ns, {"__InstanceCreationEvent", every, -1, ProcessCreation});
  fake.AddEventSource(ns, {"Win32_ProcessStartTrace", every, -1, ProcessStartTrace});
}

}  // namespace brevane::testing
