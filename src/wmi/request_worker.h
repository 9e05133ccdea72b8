#pragma once
// RequestWorker: runs the WMI requests the user waits for (a query, the class list, one
// object's properties) off the UI thread, one request at a time per worker. Each request runs
// on a thread with its own WMI apartment and a connection that the thread keeps for the next
// request with the same parameters. Results reach the UI thread only through the dispatcher,
// and only while their request is still the current one: a new request or a cancel makes
// everything the old one still sends stale, so it is dropped on arrival.
//
// A request that is still running when the next one starts is told to stop, and the new one
// waits for its thread, which keeps its connection: a walk sees the stop within 200 ms. Only
// a thread that is still busy kRetireAfter after the stop, or one inside a connect (which
// cannot be interrupted), is left to end on its own, and the new request gets a fresh thread.
// Every thread shares ownership of what it uses, so one that is left behind never touches
// freed memory.
//
// Threads left behind are bounded: while kMaxThreadsPerHost threads of all the workers that
// share a HostThreadCounter are busy with one host (a dead host, or a slow one while the user
// holds an arrow key in a list), the newest request for that host waits, replacing any
// request that waited before it, and starts once one of them comes free. Requests for
// another host start at once. "srv", "\\srv" and "SRV" are one host (HostKey).
#include <chrono>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "framework/main_thread.h"
#include "wmi/query_ops.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

// What a running request sees, on its worker thread.
class RequestContext {
 public:
  virtual ~RequestContext() = default;
  // Set when the request was cancelled or replaced, or the worker shuts down.
  virtual std::stop_token Stop() const = 0;
  virtual Backend& WmiBackend() = 0;
  // True when the thread holds a connection for this request's parameters already.
  virtual bool Connected() const = 0;
  // The thread's connection for this request's parameters, made on first use. Raises
  // WmiError when connecting fails.
  virtual Services& Connection() = 0;
  // A call on the connection failed with status (0: unknown). The connection is forgotten
  // when the status says it is gone, or when it had served a request before and the status is
  // no plain answer about this request (ConnectionLost).
  virtual void ConnectionFailed(int32_t status) = 0;
  // Queues step for the UI thread; it runs only if this request is still the current one
  // then. False when the dispatcher is gone.
  virtual bool Post(std::function<void()> step) = 0;
};

// The text of a request's failure for the user (failure: a caught exception); the context's
// connection learns of it, so a connection that is gone is not kept.
std::string RequestFailureText(RequestContext& context, const std::exception_ptr& failure);

// The same computer however the user spelt it: case, leading backslashes or slashes and
// surrounding blanks do not count, and "", "." and "localhost" are all the local computer.
std::string HostKey(const std::string& host);

// Busy request threads per host (by HostKey), shared by the workers of one window so that the
// per-host cap holds across them. Any thread.
class HostThreadCounter {
 public:
  int Busy(const std::string& hostKey) const;
  void Add(const std::string& hostKey);
  void Remove(const std::string& hostKey);

 private:
  mutable std::mutex lock_;
  std::map<std::string, int> busy_;
};

class RequestWorker {
 public:
  using Job = std::function<void(RequestContext&)>;

  static constexpr int kMaxThreadsPerHost = 4;
  static constexpr std::chrono::milliseconds kRetireAfter{500};

  // hosts: shared with the other workers of the window; a worker of its own when empty.
  RequestWorker(std::shared_ptr<Backend> backend,
                std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                std::shared_ptr<HostThreadCounter> hosts = nullptr);
  // Shuts down with a bounded wait.
  ~RequestWorker();
  RequestWorker(const RequestWorker&) = delete;
  RequestWorker& operator=(const RequestWorker&) = delete;

  // UI thread; returns at once. Runs job on a worker thread with a connection for conn; the
  // request before it, if any, is cancelled (and dropped if it has not started yet).
  void Start(const ConnectionParams& conn, Job job);
  // UI thread: nothing the current request sends from now on reaches the UI thread, and it is
  // told to stop; a request that waits for a thread is dropped.
  void Cancel();
  // UI thread: cancels and tells every worker thread to end; returns at once.
  void BeginShutdown();
  // UI thread: waits until `deadline` for the threads told to end. Threads stuck in a call
  // that cannot be interrupted are left to end with the process. True when all have ended.
  bool FinishShutdown(std::chrono::steady_clock::time_point deadline);
  bool Shutdown(std::chrono::milliseconds bound);

  struct Lane;    // state shared with the worker threads and the posted steps
  struct Thread;  // one worker thread
  struct Timer;   // wakes the UI thread when a stopped thread is due to be retired

 private:
  struct WaitingRequest {
    uint64_t generation = 0;
    ConnectionParams conn;
    Job job;
  };

  // Runs the waiting request on the current thread if it is idle; else, once the current
  // thread is due to be retired, on a fresh thread unless the host has kMaxThreadsPerHost busy
  // ones already. Otherwise the timer asks again.
  void StartWaiting();
  // Posted by a worker thread that has come free or ended.
  void OnThreadFree();
  void StopCurrentRequest();
  void DropWaiting();
  void RetireCurrent();
  void ReapEnded();
  void WakeAt(std::chrono::steady_clock::time_point when);

  std::shared_ptr<Lane> lane_;
  std::shared_ptr<Thread> current_;
  std::vector<std::shared_ptr<Thread>> retired_;
  std::optional<WaitingRequest> waiting_;
  std::shared_ptr<Timer> timer_;
  std::stop_source timerStop_;
  std::thread timerThread_;
};

}  // namespace brevane::wmi
