#pragma once
// RequestWorker: runs the WMI requests the user waits for (a query, the class list, one
// object's properties) off the UI thread, one request at a time per worker. Each request runs
// on a thread with its own WMI apartment and a connection that the thread keeps for the next
// request with the same parameters. Results reach the UI thread only through the dispatcher,
// and only while their request is still the current one: a new request or a cancel makes
// everything the old one still sends stale, so it is dropped on arrival.
//
// A request that is still running when the next one starts is told to stop; its thread is
// left to end on its own (it may be stuck in a call that cannot be interrupted, such as a
// connect to a dead host) and the new request gets a fresh thread at once. Every thread
// shares ownership of what it uses, so one that is left behind never touches freed memory.
//
// Threads left behind are bounded: while kMaxThreadsPerHost threads of this worker are busy
// with one host (a dead host, or a slow one while the user holds an arrow key in a list),
// the newest request for that host waits, replacing any request that waited before it, and
// starts on the first of them that comes free. Requests for another host start at once.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
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
  // Forgets the connection, e.g. after a failure that may have broken it.
  virtual void DropConnection() = 0;
  // Queues step for the UI thread; it runs only if this request is still the current one
  // then. False when the dispatcher is gone.
  virtual bool Post(std::function<void()> step) = 0;
};

class RequestWorker {
 public:
  using Job = std::function<void(RequestContext&)>;

  static constexpr int kMaxThreadsPerHost = 4;

  RequestWorker(std::shared_ptr<Backend> backend,
                std::shared_ptr<framework::MainThreadDispatcher> dispatcher);
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
  // UI thread: cancels, then waits at most `bound` for every worker thread to end. Threads
  // stuck in a call that cannot be interrupted are left to end with the process. True when
  // all threads have ended.
  bool Shutdown(std::chrono::milliseconds bound);

  struct Lane;    // state shared with the worker threads and the posted steps
  struct Thread;  // one worker thread

 private:
  struct WaitingRequest {
    uint64_t generation = 0;
    ConnectionParams conn;
    Job job;
  };

  // Runs the waiting request on the current thread if it is idle, else on a fresh thread
  // unless the host has kMaxThreadsPerHost busy ones already.
  void StartWaiting();
  // Posted by a worker thread that has come free or ended.
  void OnThreadFree();
  void StopCurrentRequest();
  void DropWaiting();
  int BusyThreadsFor(const std::string& host) const;
  void RetireCurrent();
  void ReapEnded();

  std::shared_ptr<Lane> lane_;
  std::shared_ptr<Thread> current_;
  std::vector<std::shared_ptr<Thread>> retired_;
  std::optional<WaitingRequest> waiting_;
};

}  // namespace brevane::wmi
