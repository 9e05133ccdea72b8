#pragma once
// FanOut: one query on many computers, each with its own connection on a request worker of
// its own, at most `limit` at once. A computer that hangs holds only its own worker; the
// next computer goes to whichever worker comes free. Results reach the UI thread only
// through the dispatcher, and only while the run that asked for them is the current one.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/main_thread.h"
#include "wmi/fleet_status.h"
#include "wmi/query_ops.h"
#include "wmi/regional_settings.h"
#include "wmi/request_worker.h"
#include "wmi/result_table.h"

namespace brevane::wmi {

struct FanOutComputer {
  size_t index = 0;  // the caller's number for it (its place in the status list)
  std::string name;  // as typed; the host of its connection and its "Computer" cell
};

// All run on the UI thread, only for the current run.
struct FanOutCallbacks {
  // Connecting, then running once its connection stands.
  std::function<void(size_t index, ComputerState state)> state;
  // Its objects, each with the column "Computer" first.
  std::function<void(size_t index, ResultTable&& rows)> rows;
  // Done or failed; milliseconds from the start of its connect, error without "Error: ".
  std::function<void(size_t index, ComputerState state, int64_t milliseconds,
                     const std::string& error)>
      finished;
  // Every computer of the run has finished (not after a Stop).
  std::function<void()> ended;
};

class FanOut {
 public:
  FanOut(std::shared_ptr<Backend> backend,
         std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
         std::shared_ptr<HostThreadCounter> hosts = nullptr);
  ~FanOut();
  FanOut(const FanOut&) = delete;
  FanOut& operator=(const FanOut&) = delete;

  // UI thread; returns at once. conn gives the namespace and credentials (its host is not
  // used). A run before it is stopped first. limit is clamped to 1..256.
  void Start(const ConnectionParams& conn, const RegionalSettings& regional,
             const std::string& queryText, std::vector<FanOutComputer> computers, int limit,
             FanOutCallbacks callbacks);
  // UI thread: the waiting computers never start, the running ones are told to stop (a
  // thread stuck in a call is retired as the request workers do), and nothing of this run
  // reaches the callbacks any more.
  void Stop();
  bool Running() const { return running_ > 0 || !waiting_.empty(); }

  void BeginShutdown();
  bool FinishShutdown(std::chrono::steady_clock::time_point deadline);

 private:
  struct Slot {
    std::unique_ptr<RequestWorker> worker;
    bool busy = false;
  };
  void Feed(size_t slot);
  void OnFinished(uint64_t generation, size_t slot);

  std::shared_ptr<Backend> backend_;
  std::shared_ptr<framework::MainThreadDispatcher> dispatcher_;
  std::shared_ptr<HostThreadCounter> hosts_;
  std::vector<Slot> slots_;
  std::deque<FanOutComputer> waiting_;
  size_t running_ = 0;
  uint64_t generation_ = 0;
  ConnectionParams conn_;
  RegionalSettings regional_;
  std::string queryText_;
  FanOutCallbacks callbacks_;
};

}  // namespace brevane::wmi
