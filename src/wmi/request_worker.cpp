#include "wmi/request_worker.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "util/secret.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

struct RequestWorker::Lane {
  Lane(std::shared_ptr<Backend> b, std::shared_ptr<framework::MainThreadDispatcher> d)
      : backend(std::move(b)), dispatcher(std::move(d)) {}
  const std::shared_ptr<Backend> backend;
  const std::shared_ptr<framework::MainThreadDispatcher> dispatcher;
  // The current request; steps of any other one are dropped. Changed by the UI thread only.
  std::atomic<uint64_t> generation{0};
  // UI thread only: the worker, until it is destroyed.
  RequestWorker* owner = nullptr;

  // Worker thread: tells the owner, on the UI thread, that a thread came free or ended. The
  // step holds the lane weakly: the lane holds the dispatcher, whose queue holds the step.
  static void PostThreadFree(const std::shared_ptr<Lane>& lane) {
    lane->dispatcher->Post([weakLane = std::weak_ptr<Lane>(lane)] {
      const std::shared_ptr<Lane> alive = weakLane.lock();
      if (alive && alive->owner != nullptr) alive->owner->OnThreadFree();
    });
  }
};

struct RequestWorker::Thread {
  struct Request {
    uint64_t generation = 0;
    ConnectionParams conn;
    Job job;
    std::stop_token stop;
  };

  ~Thread() {
    if (pending) util::WipeSecret(pending->conn.password);
  }

  std::mutex lock;
  std::condition_variable_any wake;
  std::optional<Request> pending;
  bool busy = false;     // a request is pending or running
  bool retired = false;  // takes no more requests; ends after the one it runs
  std::stop_source requestStop;

  std::mutex finishLock;
  std::condition_variable finishedChanged;
  bool finished = false;

  std::thread thread;
  std::string host;  // UI thread only: the host of the last request handed over
};

namespace {

using Lane = RequestWorker::Lane;
using WorkerThread = RequestWorker::Thread;

// The connection a worker thread keeps between requests with the same parameters.
class ConnectionCache {
 public:
  ~ConnectionCache() { util::WipeSecret(params_.password); }

  bool Holds(const ConnectionParams& conn) const {
    return services_ && conn.host == params_.host && conn.ns == params_.ns &&
           conn.user == params_.user && conn.password == params_.password;
  }

  Services& Get(Backend& backend, const ConnectionParams& conn) {
    if (Holds(conn)) return *services_;
    Drop();
    services_ = ConnectWmi(backend, conn.host, conn.ns, conn.user, conn.password);
    util::WipeSecret(params_.password);
    params_ = conn;
    return *services_;
  }

  void Drop() { services_.reset(); }

 private:
  ConnectionParams params_;
  std::unique_ptr<Services> services_;
};

class Context final : public RequestContext {
 public:
  Context(std::shared_ptr<Lane> lane, ConnectionCache& cache,
          const std::optional<WmiError>& apartmentFailure, const WorkerThread::Request& request)
      : lane_(std::move(lane)),
        cache_(cache),
        apartmentFailure_(apartmentFailure),
        request_(request) {}

  std::stop_token Stop() const override { return request_.stop; }
  Backend& WmiBackend() override { return *lane_->backend; }
  bool Connected() const override { return cache_.Holds(request_.conn); }

  Services& Connection() override {
    if (apartmentFailure_) throw *apartmentFailure_;
    return cache_.Get(*lane_->backend, request_.conn);
  }

  void DropConnection() override { cache_.Drop(); }

  bool Post(std::function<void()> step) override {
    return lane_->dispatcher->Post(
        [lane = lane_, generation = request_.generation, step = std::move(step)] {
          if (lane->generation.load(std::memory_order_acquire) == generation) step();
        });
  }

 private:
  std::shared_ptr<Lane> lane_;
  ConnectionCache& cache_;
  const std::optional<WmiError>& apartmentFailure_;
  const WorkerThread::Request& request_;
};

void RunRequests(const std::shared_ptr<Lane>& lane, WorkerThread& self) {
  std::optional<WmiError> apartmentFailure;
  std::unique_ptr<ThreadScope> apartment;
  try {
    apartment = lane->backend->EnterThread();
  } catch (const WmiError& e) {
    apartmentFailure = e;
  } catch (const std::exception& e) {
    apartmentFailure = WmiError(0, e.what());
  }
  ConnectionCache cache;  // released before the apartment is left
  for (;;) {
    WorkerThread::Request request;
    {
      std::unique_lock l(self.lock);
      self.wake.wait(l, [&] { return self.pending.has_value() || self.retired; });
      if (!self.pending) break;
      request = std::move(*self.pending);
      self.pending.reset();
    }
    try {
      Context context(lane, cache, apartmentFailure, request);
      request.job(context);
    } catch (...) {
      // A request reports its own failures; nothing may escape the thread.
    }
    request.job = nullptr;  // what the job holds dies here, on its own thread
    util::WipeSecret(request.conn.password);
    {
      std::lock_guard l(self.lock);
      self.busy = false;
      if (self.retired) break;  // the thread's end tells the owner
    }
    Lane::PostThreadFree(lane);
  }
}

void RequestThreadMain(std::shared_ptr<Lane> lane, std::shared_ptr<WorkerThread> self) {
  try {
    RunRequests(lane, *self);
  } catch (...) {
  }
  {
    std::lock_guard l(self->finishLock);
    self->finished = true;
  }
  self->finishedChanged.notify_all();
  Lane::PostThreadFree(lane);
}

bool HasFinished(WorkerThread& thread) {
  std::lock_guard l(thread.finishLock);
  return thread.finished;
}

// Gives an idle thread the request; false when the thread is busy or retired.
bool HandOver(WorkerThread& thread, uint64_t generation, const ConnectionParams& conn,
              RequestWorker::Job& job) {
  {
    std::lock_guard l(thread.lock);
    if (thread.busy || thread.retired) return false;
    thread.requestStop = std::stop_source();
    thread.pending =
        WorkerThread::Request{generation, conn, std::move(job), thread.requestStop.get_token()};
    thread.busy = true;
  }
  thread.host = conn.host;
  thread.wake.notify_all();
  return true;
}

}  // namespace

RequestWorker::RequestWorker(std::shared_ptr<Backend> backend,
                             std::shared_ptr<framework::MainThreadDispatcher> dispatcher)
    : lane_(std::make_shared<Lane>(std::move(backend), std::move(dispatcher))) {
  lane_->owner = this;
}

RequestWorker::~RequestWorker() {
  Shutdown(std::chrono::seconds(2));
  lane_->owner = nullptr;
}

void RequestWorker::Start(const ConnectionParams& conn, Job job) {
  ReapEnded();
  DropWaiting();
  const uint64_t generation = lane_->generation.fetch_add(1) + 1;
  waiting_ = WaitingRequest{generation, conn, std::move(job)};
  StopCurrentRequest();
  StartWaiting();
}

void RequestWorker::StartWaiting() {
  if (!waiting_) return;
  if (current_ && HandOver(*current_, waiting_->generation, waiting_->conn, waiting_->job)) {
    DropWaiting();
    return;
  }
  // The current thread is still busy with the request before, perhaps stuck in a call that
  // cannot be interrupted: the new request does not wait behind it, unless this host holds
  // enough threads already.
  if (BusyThreadsFor(waiting_->conn.host) >= kMaxThreadsPerHost) return;
  RetireCurrent();
  auto fresh = std::make_shared<Thread>();
  HandOver(*fresh, waiting_->generation, waiting_->conn, waiting_->job);
  fresh->thread = std::thread(RequestThreadMain, lane_, fresh);
  current_ = std::move(fresh);
  DropWaiting();
}

void RequestWorker::OnThreadFree() {
  ReapEnded();
  StartWaiting();
}

int RequestWorker::BusyThreadsFor(const std::string& host) const {
  int busy = current_ && current_->host == host ? 1 : 0;
  for (const auto& thread : retired_) {
    if (thread->host == host && !HasFinished(*thread)) ++busy;
  }
  return busy;
}

void RequestWorker::StopCurrentRequest() {
  if (!current_) return;
  std::lock_guard l(current_->lock);
  current_->requestStop.request_stop();
}

void RequestWorker::DropWaiting() {
  if (!waiting_) return;
  util::WipeSecret(waiting_->conn.password);
  waiting_.reset();
}

void RequestWorker::Cancel() {
  lane_->generation.fetch_add(1);
  DropWaiting();
  StopCurrentRequest();
}

void RequestWorker::RetireCurrent() {
  if (!current_) return;
  {
    std::lock_guard l(current_->lock);
    current_->retired = true;
    current_->requestStop.request_stop();
  }
  current_->wake.notify_all();
  retired_.push_back(std::move(current_));
  current_.reset();
}

void RequestWorker::ReapEnded() {
  for (auto it = retired_.begin(); it != retired_.end();) {
    if (HasFinished(**it)) {
      (*it)->thread.join();
      it = retired_.erase(it);
    } else {
      ++it;
    }
  }
}

bool RequestWorker::Shutdown(std::chrono::milliseconds bound) {
  lane_->generation.fetch_add(1);
  DropWaiting();
  RetireCurrent();
  const auto deadline = std::chrono::steady_clock::now() + bound;
  bool allEnded = true;
  for (auto& thread : retired_) {
    bool ended;
    {
      std::unique_lock l(thread->finishLock);
      ended = thread->finishedChanged.wait_until(l, deadline, [&] { return thread->finished; });
    }
    if (ended) {
      thread->thread.join();
    } else {
      // Stuck in a call that cannot be interrupted. It owns its share of everything it
      // touches, and whatever it still sends is stale; the process ends without it.
      thread->thread.detach();
      allEnded = false;
    }
  }
  retired_.clear();
  return allEnded;
}

}  // namespace brevane::wmi
