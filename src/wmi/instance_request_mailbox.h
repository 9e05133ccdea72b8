#pragma once
// The instance loader's requests, from the UI thread to the worker. Every request, refresh or
// abandoned load starts a new generation; whatever the worker still sends for an older one is
// stale. The worker copies the request out under the lock, and between two instances it only
// looks at the request's stop token: every change that concerns a running walk stops it, so
// the walk needs neither the lock nor a second copy of the state for that check.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "wmi/query_ops.h"

namespace brevane::wmi {

class InstanceRequestMailbox {
 public:
  struct Request {
    ConnectionParams connection;
    std::string className;
    uint64_t generation = 0;
    int maxInstances = 0;  // 0: no limit
    // Stopped when a newer generation replaces this request, or at shutdown. A walk that
    // waits for its next instance is woken by it.
    std::stop_token replaced;
  };

  InstanceRequestMailbox() = default;
  InstanceRequestMailbox(const InstanceRequestMailbox&) = delete;
  InstanceRequestMailbox& operator=(const InstanceRequestMailbox&) = delete;

  // --- UI thread ---
  void SetMaxInstances(int maxInstances);
  // A new generation; an empty host or class name leaves the worker idle.
  void Post(const ConnectionParams& connection, const std::string& className);
  // The last request again, as a new generation; forgetHost leaves the worker idle.
  void Renew(bool forgetHost);
  // Ends the load of `generation` (the window could not take its lines) and leaves the worker
  // idle; false when a newer generation replaced it already.
  bool Abandon(uint64_t generation);
  bool IsCurrent(uint64_t generation) const;
  // Stops the running walk and wakes the worker, for shutdown.
  void InterruptWalk();

  // --- any thread ---
  uint64_t Generation() const;
  // The current generation, or nothing when the worker has been left idle.
  std::optional<uint64_t> ActiveGeneration() const;

  // --- worker ---
  // The generation to work on; when the worker is idle, waits up to `timeout` for a request
  // and returns nothing, so that the caller can see to other things before it asks again.
  std::optional<uint64_t> WaitForWork(std::stop_token stop, std::chrono::milliseconds timeout);
  // A copy of the current request; nothing when the worker is idle.
  std::optional<Request> Current() const;
  bool IsIdle() const;
  // The worker has finished `generation`: idle, unless a newer request came meanwhile, which
  // must not be lost.
  void Finished(uint64_t generation);

 private:
  void NextGenerationLocked(bool idle);

  mutable std::mutex lock_;
  std::condition_variable_any wake_;
  ConnectionParams connection_;
  std::string className_;
  int maxInstances_ = 0;
  bool idle_ = true;
  uint64_t generation_ = 0;
  std::stop_source walkStop_;
};

}  // namespace brevane::wmi
