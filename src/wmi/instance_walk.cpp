#include "wmi/instance_walk.h"

#include <exception>

#include "util/secret.h"
#include "util/text.h"
#include "wmi/query_ops.h"
#include "wmi/connection_loss.h"
#include "wmi/value_text.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

namespace {
constexpr auto kIdlePoll = std::chrono::milliseconds(500);

constexpr const char* kWindowUnreachable = "Instances stopped: the window's message queue is full";

const char* const kLabelProperties[] = {"Name",     "Caption",  "Handle",     "ID",
                                        "UniqueID", "DeviceID", "Description"};

std::string ChooseLabelProperty(const util::StringList& names) {
  for (const char* candidate : kLabelProperties) {
    for (const auto& name : names) {
      if (util::AsciiLower(name) == util::AsciiLower(candidate)) return name;
    }
  }
  return {};
}

// The path by which the instance can be fetched again; empty when it has none (a keyless
// class) or cannot be read.
std::string RelativePath(Object& instance) {
  for (const char* name : {"__RELPATH", "__PATH"}) {
    try {
      const Value path = instance.PropertyValue(name);
      if (path.type == kVtBstr && !path.text.empty()) return path.text;
    } catch (const std::exception&) {
    }
  }
  return {};
}

bool SameConnection(const ConnectionParams& a, const ConnectionParams& b) {
  return a.host == b.host && a.ns == b.ns && a.user == b.user && a.password == b.password;
}

// What SyncRequest takes out of the walk's state, released when it goes: members go in
// reverse order, so the walk goes before its set and both before the connection.
struct Released {
  std::unique_ptr<Services> services;
  std::unique_ptr<ObjectSet> set;
  std::unique_ptr<ObjectEnumerator> enumerator;
};
}  // namespace

InstanceWalk::InstanceWalk(Backend& backend, const RegionalSettings& regional,
                           InstanceRequestMailbox& mailbox, InstanceOutbox& outbox,
                           std::stop_token stop)
    : backend_(backend),
      regional_(regional),
      mailbox_(mailbox),
      outbox_(outbox),
      stop_(std::move(stop)) {}

void InstanceWalk::Run() {
  while (!stop_.stop_requested()) {
    // What the window has not received yet must reach it, if only late.
    const bool wakeLost = outbox_.WakeLost();
    if (wakeLost) outbox_.RetryLostWake();
    const auto generation =
        mailbox_.WaitForWork(stop_, wakeLost ? InstanceOutbox::kWakeRetry : kIdlePoll);
    if (generation) RunPass(*generation);
  }
}

void InstanceWalk::RunPass(uint64_t passGeneration) {
  try {
    Emit(InstanceHandoff::Progress(passGeneration));
    SyncRequest();
    if (mailbox_.IsIdle() || stop_.stop_requested()) return;
    const uint64_t tag = request_.generation;
    std::unique_ptr<Object> instance;
    bool endedByIdleRequest = false;
    bool connectionLost = false;
    while (!stop_.stop_requested() && enumerator_) {
      // Between two instances only the token is asked: anything that replaced the request
      // has stopped it.
      if (request_.replaced.stop_requested() && mailbox_.IsIdle()) {
        endedByIdleRequest = true;
        break;
      }
      std::optional<WmiError> walkFailure;
      if (!NextInstance(instance, walkFailure)) {
        if (request_.replaced.stop_requested() && !stop_.stop_requested() && !mailbox_.IsIdle())
          return;  // a new request
        if (walkFailure && count_ == 0) {
          // Asked to return at once, WMI reports an invalid class, a denied access or a
          // broken provider from the first fetch: the load failed.
          Fail(std::string("WMI Error: ") + walkFailure->what());
          return;
        }
        // After some instances a failure ends the walk like the end of the set; a connection
        // that broke is not kept for the next class.
        if (walkFailure && ConnectionLost(walkFailure->Status(), true)) connectionLost = true;
        break;
      }
      ++count_;
      if (SyncRequest()) return;  // a new request: the next pass shows it
      if (!Emit(InstanceHandoff::Label(tag, Label(*instance), RelativePath(*instance)))) {
        // The window takes nothing now: walking on would only pile up labels.
        Fail(kWindowUnreachable);
        return;
      }
      const int max = request_.maxInstances;
      if (max != 0 && count_ > max) break;
    }
    if (stop_.stop_requested()) return;
    // A request that left the worker idle (an empty class name) ended this load too.
    endedByIdleRequest = endedByIdleRequest || mailbox_.IsIdle();
    Emit(InstanceHandoff::Done(tag, count_, {}, endedByIdleRequest));
    // A finished walk holds provider resources for nothing; the connection stays for the
    // next class.
    DropClassState();
    if (connectionLost) services_.reset();
    mailbox_.Finished(tag);
  } catch (const std::exception& e) {
    Fail(std::string("WMI Error: ") + e.what());
  } catch (...) {
    Fail("WMI Error: unknown failure");
  }
}

bool InstanceWalk::NextInstance(std::unique_ptr<Object>& instance,
                                std::optional<WmiError>& failure) {
  try {
    return enumerator_->Next(instance, request_.replaced) && instance;
  } catch (const WmiError& e) {
    failure = e;
  } catch (const std::exception& e) {
    failure = WmiError(0, e.what());
  }
  instance.reset();
  return false;
}

bool InstanceWalk::Emit(InstanceHandoff handoff) {
  return outbox_.Push(std::move(handoff), stop_);
}

void InstanceWalk::Fail(const std::string& text) {
  // A broken connection or enumeration is not reused: the next request starts afresh.
  DropClassState();
  services_.reset();
  const uint64_t tag = request_.generation;
  Emit(InstanceHandoff::Failure(tag, text));  // in place of the progress line
  Emit(InstanceHandoff::Done(tag, count_, text));
  mailbox_.Finished(tag);
}

// Takes up a new request; returns true when the request changed. Starts a fresh load when
// there is no enumeration.
bool InstanceWalk::SyncRequest() {
  if (stop_.stop_requested()) return false;
  // The common case, once per instance: nothing new.
  if (enumerator_ && services_ && !request_.replaced.stop_requested()) return false;
  auto current = mailbox_.Current();
  if (!current) return false;  // idle
  bool changed = false;
  {
    // What the new request does not need goes at the end of this block, the walk first.
    Released released;
    if (current->generation != request_.generation) {
      if (request_.generation == 0 || !SameConnection(current->connection, request_.connection))
        released.services = std::move(services_);
      released.enumerator = std::move(enumerator_);
      released.set = std::move(set_);
      labelProperty_.clear();
      util::WipeSecret(
          request_.connection.password);  // an assignment may free the old buffer as it was
      request_ = std::move(*current);
      changed = true;
    } else if (!services_) {
      released.enumerator = std::move(enumerator_);
      released.set = std::move(set_);
      labelProperty_.clear();
    }
  }
  if (enumerator_) return changed;
  StartLoad();
  return changed;
}

void InstanceWalk::StartLoad() {
  count_ = 0;
  const ConnectionParams& connection = request_.connection;
  if (!services_)
    services_ =
        ConnectWmi(backend_, connection.host, connection.ns, connection.user, connection.password);
  if (stop_.stop_requested() || mailbox_.IsIdle()) return;
  if (labelProperty_.empty()) {
    std::string scratch;
    // On the connection the walk holds: another login per class would cost as much again, and
    // up to minutes when the computer has gone.
    if (ListClassPropertiesOn(*services_, request_.className, propertyNames_, scratch)) {
      labelProperty_ = ChooseLabelProperty(propertyNames_);
    }
  }
  set_ = services_->InstancesOf(request_.className, kFlagSemisync);
  enumerator_ = set_->NewEnum();
}

std::string InstanceWalk::Label(Object& instance) {
  const int position = count_ - 1;
  std::string label;
  if (!labelProperty_.empty()) {
    label = ValueToText(instance.PropertyValue(labelProperty_), regional_);
  } else {
    label = util::Format("[%3.3d]", position) + util::Trim(instance.ObjectText(0));
  }
  if (util::Trim(label).empty()) label = util::Format("<<Instance_%2.2d>>", position);
  return label;
}

void InstanceWalk::DropClassState() {
  enumerator_.reset();
  set_.reset();
  labelProperty_.clear();
}

}  // namespace brevane::wmi
