#pragma once
// ClassSearchWalk: a class name looked for in every namespace of a computer, in the
// background. Each namespace is opened on a request worker of its own (at most
// NamespaceSearch::kMaxAtOnce at once), its classes are read and the matching ones streamed
// to the UI thread, then its children join the walk. A namespace that refuses is counted and
// listed; one whose classes cannot be enumerated (a WMI without class enumeration says so for
// every namespace) is counted with the reason. The bookkeeping lives on the UI thread; only
// steps of the current walk reach the callbacks, so a stop is final at once.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/main_thread.h"
#include "wmi/namespace_search.h"
#include "wmi/query_ops.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {

struct ClassHit {
  std::string ns;
  std::string className;
};

// All run on the UI thread, only for the current walk.
struct ClassSearchCallbacks {
  std::function<void(std::vector<ClassHit>&& hits)> hits;
  // After each namespace is done with: the bookkeeping for the live count and the refusals.
  std::function<void(const NamespaceSearch& search)> progress;
  // Every namespace has been looked into (not after a Stop).
  std::function<void(const NamespaceSearch& search)> ended;
};

class ClassSearchWalk {
 public:
  ClassSearchWalk(std::shared_ptr<Backend> backend,
                  std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                  std::shared_ptr<HostThreadCounter> hosts = nullptr);
  ~ClassSearchWalk();
  ClassSearchWalk(const ClassSearchWalk&) = delete;
  ClassSearchWalk& operator=(const ClassSearchWalk&) = delete;

  // UI thread; returns at once. conn gives the computer and credentials (its namespace is not
  // used). A walk before it is stopped first.
  void Start(const ConnectionParams& conn, const std::string& pattern,
             ClassSearchCallbacks callbacks);
  // UI thread: running namespaces are told to stop and nothing more of this walk arrives.
  void Stop();
  bool Running() const { return active_; }
  // The current or last walk's bookkeeping, if any.
  const NamespaceSearch* Search() const { return search_ ? &*search_ : nullptr; }

  void BeginShutdown();
  bool FinishShutdown(std::chrono::steady_clock::time_point deadline);

 private:
  struct Slot {
    std::unique_ptr<RequestWorker> worker;
    bool busy = false;
  };
  struct NamespaceEnd;
  void Feed();
  void OnNamespaceEnd(uint64_t generation, size_t slot, NamespaceEnd&& end);

  std::shared_ptr<Backend> backend_;
  std::shared_ptr<framework::MainThreadDispatcher> dispatcher_;
  std::shared_ptr<HostThreadCounter> hosts_;
  std::vector<Slot> slots_;
  std::optional<NamespaceSearch> search_;
  uint64_t generation_ = 0;
  bool active_ = false;
  ConnectionParams conn_;
  std::string pattern_;
  ClassSearchCallbacks callbacks_;
};

}  // namespace brevane::wmi
