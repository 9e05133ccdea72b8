#include "wmi/instance_request_mailbox.h"

#include "util/secret.h"

namespace brevane::wmi {

void InstanceRequestMailbox::SetMaxInstances(int maxInstances) {
  std::lock_guard l(lock_);
  maxInstances_ = maxInstances;
}

void InstanceRequestMailbox::Post(const ConnectionParams& connection,
                                  const std::string& className) {
  {
    std::lock_guard l(lock_);
    connection_.host = connection.host;
    connection_.ns = connection.ns;
    connection_.user = connection.user;
    util::WipeSecret(connection_.password);  // an assignment may free the old buffer as it was
    connection_.password = connection.password;
    className_ = className;
    NextGenerationLocked(connection_.host.empty() || className_.empty());
  }
  wake_.notify_all();
}

void InstanceRequestMailbox::Renew(bool forgetHost) {
  {
    std::lock_guard l(lock_);
    if (forgetHost) connection_.host.clear();
    NextGenerationLocked(connection_.host.empty() || className_.empty());
  }
  wake_.notify_all();
}

bool InstanceRequestMailbox::Abandon(uint64_t generation) {
  {
    std::lock_guard l(lock_);
    if (generation != generation_) return false;
    NextGenerationLocked(true);
  }
  wake_.notify_all();
  return true;
}

bool InstanceRequestMailbox::IsCurrent(uint64_t generation) const {
  std::lock_guard l(lock_);
  return generation == generation_;
}

void InstanceRequestMailbox::InterruptWalk() {
  {
    std::lock_guard l(lock_);
    walkStop_.request_stop();
  }
  wake_.notify_all();
}

uint64_t InstanceRequestMailbox::Generation() const {
  std::lock_guard l(lock_);
  return generation_;
}

std::optional<uint64_t> InstanceRequestMailbox::ActiveGeneration() const {
  std::lock_guard l(lock_);
  if (idle_) return std::nullopt;
  return generation_;
}

std::optional<uint64_t> InstanceRequestMailbox::WaitForWork(std::stop_token stop,
                                                            std::chrono::milliseconds timeout) {
  std::unique_lock l(lock_);
  if (!idle_) return generation_;
  wake_.wait_for(l, stop, timeout, [&] { return !idle_; });
  return std::nullopt;
}

std::optional<InstanceRequestMailbox::Request> InstanceRequestMailbox::Current() const {
  std::lock_guard l(lock_);
  if (idle_) return std::nullopt;
  Request request;
  request.connection.host = connection_.host;
  request.connection.ns = connection_.ns;
  request.connection.user = connection_.user;
  request.connection.password = connection_.password;
  request.className = className_;
  request.generation = generation_;
  request.maxInstances = maxInstances_;
  request.replaced = walkStop_.get_token();
  return request;
}

bool InstanceRequestMailbox::IsIdle() const {
  std::lock_guard l(lock_);
  return idle_;
}

void InstanceRequestMailbox::Finished(uint64_t generation) {
  std::lock_guard l(lock_);
  if (generation == generation_) idle_ = true;
}

void InstanceRequestMailbox::NextGenerationLocked(bool idle) {
  ++generation_;
  idle_ = idle;
  // A new request must not wait behind an enumeration that hangs.
  walkStop_.request_stop();
  walkStop_ = std::stop_source();
}

}  // namespace brevane::wmi
