#include "wmi/instance_outbox.h"

#include <algorithm>
#include <iterator>

namespace brevane::wmi {

InstanceOutbox::InstanceOutbox(std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                               OutboxLimits limits, Sink sink)
    : dispatcher_(std::move(dispatcher)), limits_(limits), sink_(std::move(sink)) {}

bool InstanceOutbox::Push(InstanceHandoff handoff, std::stop_token stop) {
  {
    std::unique_lock l(lock_);
    const auto hasRoom = [&] { return entries_.size() - taken_ < limits_.maxPending; };
    while (!hasRoom()) {
      if (stop.stop_requested()) return true;
      if (wakeLost_) {
        l.unlock();
        RetryLostWake();
        l.lock();
      }
      drained_.wait_for(l, stop, kWakeRetry, hasRoom);
    }
    entries_.push_back(std::move(handoff));
    if (drainPosted_ && !wakeLost_) return true;
    drainPosted_ = true;
  }
  return PostDrain();
}

void InstanceOutbox::PushPastLimit(std::vector<InstanceHandoff> handoffs) {
  {
    std::lock_guard l(lock_);
    std::move(handoffs.begin(), handoffs.end(), std::back_inserter(entries_));
    if (drainPosted_ && !wakeLost_) return;
    drainPosted_ = true;
  }
  PostDrain();
}

bool InstanceOutbox::WakeLost() const {
  std::lock_guard l(lock_);
  return wakeLost_;
}

void InstanceOutbox::RetryLostWake() {
  {
    std::lock_guard l(lock_);
    if (!wakeLost_) return;
    drainPosted_ = true;
  }
  PostDrain();
}

bool InstanceOutbox::PostDrain() {
  // Weak, so that a queued step does not keep the outbox alive after shutdown.
  const bool posted = dispatcher_->Post([self = weak_from_this()] {
    if (auto outbox = self.lock()) outbox->Drain();
  });
  std::lock_guard l(lock_);
  wakeLost_ = !posted;
  if (!posted) drainPosted_ = false;
  return posted;
}

void InstanceOutbox::Drain() {
  std::vector<InstanceHandoff> batch;
  bool more;
  {
    std::lock_guard l(lock_);
    const size_t end = std::min(entries_.size(), taken_ + limits_.perDrain);
    batch.assign(std::make_move_iterator(entries_.begin() + static_cast<ptrdiff_t>(taken_)),
                 std::make_move_iterator(entries_.begin() + static_cast<ptrdiff_t>(end)));
    taken_ = end;
    more = taken_ < entries_.size();
    if (!more) {
      entries_.clear();
      taken_ = 0;
    }
    drainPosted_ = more;
  }
  drained_.notify_all();
  if (sink_) sink_(batch);
  if (more) PostDrain();
}

}  // namespace brevane::wmi
