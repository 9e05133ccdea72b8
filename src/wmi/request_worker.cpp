#include "wmi/request_worker.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "util/secret.h"
#include "util/text.h"
#include "wmi/connection_loss.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

std::string RequestFailureText(RequestContext& context, const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const WmiError& e) {
    context.ConnectionFailed(e.Status());
    return e.what();
  } catch (const std::exception& e) {
    context.ConnectionFailed(0);
    return e.what();
  } catch (...) {
    context.ConnectionFailed(0);
    return "unexpected failure";
  }
}

std::string HostKey(const std::string& host) {
  std::string key = util::Trim(host);
  const size_t start = key.find_first_not_of("\\/");
  key = start == std::string::npos ? std::string() : util::AsciiLower(key.substr(start));
  if (key.empty() || key == "localhost") return ".";
  return key;
}

int HostThreadCounter::Busy(const std::string& hostKey) const {
  std::lock_guard l(lock_);
  const auto it = busy_.find(hostKey);
  return it == busy_.end() ? 0 : it->second;
}

void HostThreadCounter::Add(const std::string& hostKey) {
  std::lock_guard l(lock_);
  ++busy_[hostKey];
}

void HostThreadCounter::Remove(const std::string& hostKey) {
  std::lock_guard l(lock_);
  const auto it = busy_.find(hostKey);
  if (it == busy_.end()) return;
  if (--it->second <= 0) busy_.erase(it);
}

struct RequestWorker::Lane {
  Lane(std::shared_ptr<Backend> b, std::shared_ptr<framework::MainThreadDispatcher> d,
       std::shared_ptr<HostThreadCounter> h)
      : backend(std::move(b)), dispatcher(std::move(d)), hosts(std::move(h)) {}
  const std::shared_ptr<Backend> backend;
  const std::shared_ptr<framework::MainThreadDispatcher> dispatcher;
  const std::shared_ptr<HostThreadCounter> hosts;
  // The current request; steps of any other one are dropped. Changed by the UI thread only.
  std::atomic<uint64_t> generation{0};
  // UI thread only: the worker, until it is destroyed.
  RequestWorker* owner = nullptr;

  // Any thread: asks the owner, on the UI thread, to look at the waiting request again (a
  // thread came free or ended, or one is due to be retired). The step holds the lane weakly:
  // the lane holds the dispatcher, whose queue holds the step.
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
    std::string hostKey;
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
  // Set while the thread connects, which no stop request can cut short.
  std::atomic<bool> uninterruptible{false};

  std::mutex finishLock;
  std::condition_variable finishedChanged;
  bool finished = false;

  std::thread thread;
  // UI thread only: when the running request was told to stop.
  std::optional<std::chrono::steady_clock::time_point> stoppedAt;
};

// One waiting time at a time: the UI thread sets it, the timer thread posts a look at the
// waiting request when it has passed.
struct RequestWorker::Timer {
  std::mutex lock;
  std::condition_variable_any changed;
  std::optional<std::chrono::steady_clock::time_point> due;
};

namespace {

using Lane = RequestWorker::Lane;
using WorkerThread = RequestWorker::Thread;
using Clock = std::chrono::steady_clock;

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

  void Failed(int32_t status) {
    if (ConnectionLost(status, worked_)) Drop();
  }
  // A request ended on this connection without losing it.
  void Served() {
    if (services_) worked_ = true;
  }

 private:
  void Drop() {
    services_.reset();
    worked_ = false;
  }

  ConnectionParams params_;
  std::unique_ptr<Services> services_;
  bool worked_ = false;
};

class Context final : public RequestContext {
 public:
  Context(std::shared_ptr<Lane> lane, ConnectionCache& cache,
          const std::optional<WmiError>& apartmentFailure, const WorkerThread::Request& request,
          std::atomic<bool>& uninterruptible)
      : lane_(std::move(lane)),
        cache_(cache),
        apartmentFailure_(apartmentFailure),
        request_(request),
        uninterruptible_(uninterruptible) {}

  std::stop_token Stop() const override { return request_.stop; }
  Backend& WmiBackend() override { return *lane_->backend; }
  bool Connected() const override { return cache_.Holds(request_.conn); }

  Services& Connection() override {
    if (apartmentFailure_) throw *apartmentFailure_;
    if (cache_.Holds(request_.conn)) return cache_.Get(*lane_->backend, request_.conn);
    uninterruptible_.store(true);
    struct Clear {
      std::atomic<bool>& flag;
      ~Clear() { flag.store(false); }
    } clear{uninterruptible_};
    return cache_.Get(*lane_->backend, request_.conn);
  }

  void ConnectionFailed(int32_t status) override {
    failed_ = true;
    cache_.Failed(status);
  }
  bool Failed() const { return failed_; }

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
  std::atomic<bool>& uninterruptible_;
  bool failed_ = false;
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
      Context context(lane, cache, apartmentFailure, request, self.uninterruptible);
      request.job(context);
      if (!context.Failed()) cache.Served();
    } catch (...) {
      // A request reports its own failures; nothing may escape the thread.
    }
    request.job = nullptr;  // what the job holds dies here, on its own thread
    util::WipeSecret(request.conn.password);
    lane->hosts->Remove(request.hostKey);
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
bool HandOver(Lane& lane, WorkerThread& thread, uint64_t generation, const ConnectionParams& conn,
              RequestWorker::Job& job) {
  {
    std::lock_guard l(thread.lock);
    if (thread.busy || thread.retired) return false;
    thread.requestStop = std::stop_source();
    std::string key = HostKey(conn.host);
    lane.hosts->Add(key);
    thread.pending = WorkerThread::Request{generation, conn, std::move(key), std::move(job),
                                           thread.requestStop.get_token()};
    thread.busy = true;
  }
  thread.stoppedAt.reset();
  thread.wake.notify_all();
  return true;
}

void RunTimer(std::stop_token stop, std::shared_ptr<RequestWorker::Timer> timer,
              std::weak_ptr<Lane> weakLane) {
  std::unique_lock l(timer->lock);
  while (!stop.stop_requested()) {
    if (!timer->due) {
      timer->changed.wait(l, stop, [&] { return timer->due.has_value(); });
      continue;
    }
    const Clock::time_point due = *timer->due;
    if (timer->changed.wait_until(l, stop, due, [&] { return timer->due != due; })) continue;
    if (stop.stop_requested()) break;
    timer->due.reset();
    l.unlock();
    if (const auto lane = weakLane.lock()) Lane::PostThreadFree(lane);
    l.lock();
  }
}

}  // namespace

RequestWorker::RequestWorker(std::shared_ptr<Backend> backend,
                             std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                             std::shared_ptr<HostThreadCounter> hosts)
    : lane_(
          std::make_shared<Lane>(std::move(backend), std::move(dispatcher),
                                 hosts ? std::move(hosts) : std::make_shared<HostThreadCounter>())),
      timer_(std::make_shared<Timer>()) {
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
  if (current_ &&
      HandOver(*lane_, *current_, waiting_->generation, waiting_->conn, waiting_->job)) {
    DropWaiting();
    return;
  }
  const Clock::time_point now = Clock::now();
  // The current thread is still busy with the request before. Its walk sees the stop soon,
  // and its connection is worth the wait, unless it is inside a connect.
  if (current_ && current_->stoppedAt && !current_->uninterruptible.load() &&
      now < *current_->stoppedAt + kRetireAfter) {
    WakeAt(*current_->stoppedAt + kRetireAfter);
    return;
  }
  // A host with enough busy threads gets no more; one of them, perhaps of another worker,
  // comes free some time.
  if (lane_->hosts->Busy(HostKey(waiting_->conn.host)) >= kMaxThreadsPerHost) {
    WakeAt(now + kRetireAfter);
    return;
  }
  RetireCurrent();
  auto fresh = std::make_shared<Thread>();
  HandOver(*lane_, *fresh, waiting_->generation, waiting_->conn, waiting_->job);
  try {
    fresh->thread = std::thread(RequestThreadMain, lane_, fresh);
  } catch (...) {
    lane_->hosts->Remove(fresh->pending->hostKey);
    DropWaiting();
    throw;
  }
  current_ = std::move(fresh);
  DropWaiting();
}

void RequestWorker::WakeAt(Clock::time_point when) {
  if (!timerThread_.joinable()) {
    timerThread_ = std::thread([timer = timer_, lane = std::weak_ptr<Lane>(lane_),
                                stop = timerStop_.get_token()] { RunTimer(stop, timer, lane); });
  }
  {
    std::lock_guard l(timer_->lock);
    if (timer_->due && *timer_->due <= when) return;
    timer_->due = when;
  }
  timer_->changed.notify_all();
}

void RequestWorker::OnThreadFree() {
  ReapEnded();
  StartWaiting();
}

void RequestWorker::StopCurrentRequest() {
  if (!current_) return;
  std::lock_guard l(current_->lock);
  current_->requestStop.request_stop();
  if (current_->busy && !current_->stoppedAt) current_->stoppedAt = Clock::now();
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

void RequestWorker::BeginShutdown() {
  lane_->generation.fetch_add(1);
  DropWaiting();
  RetireCurrent();
  timerStop_.request_stop();
}

bool RequestWorker::FinishShutdown(Clock::time_point deadline) {
  if (timerThread_.joinable()) timerThread_.join();  // it waits for nothing but its stop
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

bool RequestWorker::Shutdown(std::chrono::milliseconds bound) {
  BeginShutdown();
  return FinishShutdown(Clock::now() + bound);
}

}  // namespace brevane::wmi
