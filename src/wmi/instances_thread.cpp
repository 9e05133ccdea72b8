#include "wmi/instances_thread.h"

#include <exception>
#include <optional>
#include <vector>

#include "util/secret.h"
#include "util/text.h"
#include "wmi/instance_paths.h"
#include "wmi/query_ops.h"
#include "wmi/value_text.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

namespace {
constexpr auto kIdlePoll = std::chrono::milliseconds(500);
// Hand-offs applied per drain, so that the UI thread keeps handling input during a big load.
constexpr size_t kLinesPerDrain = 256;
// The worker waits while this many hand-offs are waiting for the UI thread.
constexpr size_t kMaxPendingLines = 8192;
// How often a worker whose hand-offs could not reach the window tries again.
constexpr auto kWakeRetry = std::chrono::milliseconds(100);

constexpr const char* kWindowUnreachable = "Instances stopped: the window's message queue is full";
constexpr const char* kListRefused = "Instances stopped: the instance list cannot take more lines";
constexpr const char* kLoaderGone = "Instances cannot be loaded: ";

const char* const kLabelProperties[] = {"Name",     "Caption",  "Handle",     "ID",
                                        "UniqueID", "DeviceID", "Description"};
}  // namespace

namespace instances_detail {
// One thing the worker has for the window.
struct Handoff {
  enum class Kind {
    Progress,  // show the progress line at the end of the list
    Label,     // an instance's label, followed by the progress line
    Failure,   // the failure text, in place of the progress line
    Done,      // the load has ended: remove the progress line, report
  };
  Kind kind = Kind::Progress;
  uint64_t generation = 0;
  std::string line;
  std::string path;  // a label's instance path, empty when it has none
  bool endedByIdleRequest = false;
  int count = 0;
  std::string message;
};
}  // namespace instances_detail
using instances_detail::Handoff;

struct TWMIInstancesThread::Shared {
  Shared(std::shared_ptr<Backend> b, std::shared_ptr<framework::MainThreadDispatcher> d,
         RegionalSettings r)
      : backend(std::move(b)), dispatcher(std::move(d)), regional(std::move(r)) {}
  ~Shared() { util::WipeSecret(reqPassword); }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  std::shared_ptr<Backend> backend;
  std::shared_ptr<framework::MainThreadDispatcher> dispatcher;
  const RegionalSettings regional;
  std::stop_source stop;
  std::atomic<int> maxInstances{0};

  // The request, written by the UI thread and read by the worker, under the lock.
  std::mutex lock;
  std::condition_variable_any wake;
  std::string reqHost, reqNamespace, reqUser, reqPassword, reqClass;
  bool idle = true;
  // Every request and refresh starts a new generation; hand-offs of an older one are dropped.
  uint64_t generation = 0;
  // Interrupts the current walk's wait for the next instance: a new request must not wait
  // behind an enumeration that hangs.
  std::stop_source walkStop;
  // Copies of idle and generation for the worker's per-instance checks, which then need no
  // lock; both are written together with the fields above.
  std::atomic<bool> idleFlag{true};
  std::atomic<uint64_t> generationFlag{0};

  // The outbox, filled by the worker and drained by the UI thread.
  std::mutex outboxLock;
  std::condition_variable_any outboxDrained;
  std::vector<Handoff> outbox;
  size_t outboxTaken = 0;  // entries of outbox already applied
  bool drainPosted = false;
  // The dispatcher refused the last drain: the entries wait until a retry gets through.
  bool wakeLost = false;

  // UI thread only.
  InstanceList* target = nullptr;
  DoneCallback onDone;
  bool progressShown = false;  // the target's last line is our progress line
  int linesPut = 0;            // lines the current generation put into the target
  // A load the window ended itself (the list refused a line); the rest of it is dropped.
  std::optional<uint64_t> abandonedGeneration;
  InstancePaths paths;  // the path of each line put

  // End of the worker, for the bounded shutdown.
  std::mutex finishLock;
  std::condition_variable finishedChanged;
  bool finished = false;
  // Why the worker is gone when it ended before shutdown (or never started); requests are
  // then answered with this text. Under finishLock.
  std::string endedText;

  bool IsIdle() const { return idleFlag.load(std::memory_order_acquire); }

  // Under the lock.
  void SetIdleLocked(bool value) {
    idle = value;
    idleFlag.store(value, std::memory_order_release);
  }
  void NextGenerationLocked() {
    ++generation;
    generationFlag.store(generation, std::memory_order_release);
    walkStop.request_stop();
    walkStop = std::stop_source();
  }

  // --- worker side ---

  // Queues a hand-off for the window. False when the window could not be woken: the entry
  // waits in the outbox, and RetryLostWake (or the next Emit) tries again.
  bool Emit(Handoff handoff, std::stop_token stopToken) {
    {
      std::unique_lock l(outboxLock);
      while (outbox.size() - outboxTaken >= kMaxPendingLines) {
        if (stopToken.stop_requested()) return true;
        if (wakeLost) {
          l.unlock();
          RetryLostWake();
          l.lock();
        }
        outboxDrained.wait_for(l, stopToken, kWakeRetry,
                               [&] { return outbox.size() - outboxTaken < kMaxPendingLines; });
      }
      outbox.push_back(std::move(handoff));
      if (drainPosted && !wakeLost) return true;
      drainPosted = true;
    }
    return PostDrain();
  }

  bool WakeLost() {
    std::lock_guard l(outboxLock);
    return wakeLost;
  }

  // Posts the drain again after the dispatcher refused it (its queue was full).
  void RetryLostWake() {
    {
      std::lock_guard l(outboxLock);
      if (!wakeLost) return;
      drainPosted = true;
    }
    PostDrain();
  }

  bool PostDrain() {
    const bool posted = dispatcher->Post([self = weak_from_this()] {
      if (auto s = self.lock()) s->Drain();
    });
    std::lock_guard l(outboxLock);
    wakeLost = !posted;
    if (!posted) drainPosted = false;
    return posted;
  }

  // Tells the window that loads cannot run at all (the worker is gone); any thread.
  void ReportGone(uint64_t gen, const std::string& text) {
    Handoff failure;
    failure.kind = Handoff::Kind::Failure;
    failure.generation = gen;
    failure.line = text;
    Handoff done;
    done.kind = Handoff::Kind::Done;
    done.generation = gen;
    done.message = text;
    {
      std::lock_guard l(outboxLock);
      outbox.push_back(std::move(failure));
      outbox.push_back(std::move(done));
      if (drainPosted && !wakeLost) return;
      drainPosted = true;
    }
    PostDrain();
  }

  // Weak so that a queued drain step does not keep the state alive after shutdown; the
  // worker holds its own share.
  std::weak_ptr<Shared> weak_from_this() { return self; }
  std::weak_ptr<Shared> self;

  // --- UI thread ---

  void Drain() {
    std::vector<Handoff> batch;
    bool more;
    {
      std::lock_guard l(outboxLock);
      const size_t end = std::min(outbox.size(), outboxTaken + kLinesPerDrain);
      batch.assign(std::make_move_iterator(outbox.begin() + static_cast<ptrdiff_t>(outboxTaken)),
                   std::make_move_iterator(outbox.begin() + static_cast<ptrdiff_t>(end)));
      outboxTaken = end;
      more = outboxTaken < outbox.size();
      if (!more) {
        outbox.clear();
        outboxTaken = 0;
      }
      drainPosted = more;
    }
    outboxDrained.notify_all();
    if (target) target->BeginUpdate();
    InstanceList* updating = target;
    for (size_t i = 0; i < batch.size(); ++i) {
      // A progress line that the very next label would replace at once is not shown at all.
      const bool replacedNext = i + 1 < batch.size() &&
                                batch[i + 1].generation == batch[i].generation &&
                                (batch[i + 1].kind == Handoff::Kind::Label ||
                                 batch[i + 1].kind == Handoff::Kind::Failure);
      Apply(batch[i], replacedNext);
    }
    if (updating && updating == target) updating->EndUpdate();
    if (more) PostDrain();
  }

  // Whether a hand-off of this generation may still change the target.
  bool Accepts(uint64_t gen) {
    {
      std::lock_guard l(lock);
      if (gen != generation) return false;
    }
    // Someone else emptied or changed the list (a class list reload, a search): the rest of
    // this load would no longer match the list's positions, so it stays out.
    return target && target->Count() == linesPut;
  }

  // False when the list refused the line (a list box out of memory answers LB_ERRSPACE): its
  // count then did not change as it should have.
  bool Put(const std::string& line, bool isProgress, std::string path = {}) {
    const int before = target->Count();
    bool taken;
    if (progressShown && before > 0) {
      target->ReplaceLast(line);
      taken = target->Count() == before;
    } else {
      target->Append(line);
      taken = target->Count() == before + 1;
      if (taken) ++linesPut;
    }
    if (taken) paths.Set(linesPut - 1, std::move(path));
    progressShown = isProgress && taken;
    return taken;
  }

  // The list refused a line: this load ends here, visibly, and the worker stops walking it.
  void AbandonLoad(uint64_t gen) {
    {
      std::lock_guard l(lock);
      if (gen != generation) return;
      NextGenerationLocked();
      SetIdleLocked(true);
    }
    wake.notify_all();
    abandonedGeneration = gen;
    const int labels = linesPut - (progressShown ? 1 : 0);
    // The progress line must not stay: the failure text takes its place where it can.
    if (progressShown && target->Count() > 0) target->ReplaceLast(kListRefused);
    progressShown = false;
    if (onDone) onDone(labels, kListRefused);
  }

  void Apply(const Handoff& h, bool progressReplacedNext) {
    if (abandonedGeneration == h.generation) return;
    const bool accepted = Accepts(h.generation);
    bool taken = true;
    switch (h.kind) {
      case Handoff::Kind::Progress:
        if (accepted && !progressReplacedNext) taken = Put(kProgressLine, true);
        break;
      case Handoff::Kind::Label:
        if (!accepted) return;
        taken = Put(h.line, false, h.path) && (progressReplacedNext || Put(kProgressLine, true));
        break;
      case Handoff::Kind::Failure:
        if (accepted) taken = Put(h.line, false);
        break;
      case Handoff::Kind::Done:
        break;
    }
    if (!taken) AbandonLoad(h.generation);
    if (h.kind != Handoff::Kind::Done) return;
    if (accepted && progressShown && target->Count() > 0) {
      target->DeleteLast();
      --linesPut;
      paths.Truncate(linesPut);
      progressShown = false;
    }
    bool current;
    {
      std::lock_guard l(lock);
      current = h.generation == generation;
    }
    // A load that a newer request replaced reports nothing, unless that request made the
    // worker idle (an empty class name), which ends the load as far as the window knows.
    if (onDone && (current || h.endedByIdleRequest)) onDone(h.count, h.message);
  }
};

namespace {

using Shared = TWMIInstancesThread::Shared;

// The worker's own state; never seen by the UI thread.
class Loader {
 public:
  Loader(std::shared_ptr<Shared> shared, std::stop_token stop)
      : s_(std::move(shared)), stop_(std::move(stop)) {}
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  void Run() {
    while (!stop_.stop_requested()) {
      // What the window has not received yet must reach it, if only late.
      const bool wakeLost = s_->WakeLost();
      if (wakeLost) s_->RetryLostWake();
      {
        std::unique_lock l(s_->lock);
        if (s_->idle) {
          s_->wake.wait_for(l, stop_, wakeLost ? kWakeRetry : kIdlePoll, [&] { return !s_->idle; });
          continue;
        }
        passGeneration_ = s_->generation;
      }
      RunPass();
    }
  }

 private:
  void RunPass() {
    try {
      Emit(Handoff::Kind::Progress, passGeneration_, {});
      SyncRequest();
      if (s_->IsIdle() || stop_.stop_requested()) return;
      const uint64_t tag = seenGeneration_;
      std::unique_ptr<Object> instance;
      bool endedByIdleRequest = false;
      while (!stop_.stop_requested() && enumerator_) {
        if (s_->IsIdle()) {
          endedByIdleRequest = true;
          break;
        }
        if (!NextEnumItem(*enumerator_, instance, errorText_, walkToken_)) {
          if (walkToken_.stop_requested() && !stop_.stop_requested() && !s_->IsIdle())
            return;  // a new request
          break;
        }
        ++count_;
        if (SyncRequest()) return;  // a new request: the next pass shows it
        if (!Emit(Handoff::Kind::Label, tag, Label(*instance), RelativePath(*instance))) {
          // The window takes nothing now: walking on would only pile up labels.
          Fail(kWindowUnreachable);
          return;
        }
        const int max = s_->maxInstances.load();
        if (max != 0 && count_ > max) break;
      }
      if (stop_.stop_requested()) return;
      // A request that left the worker idle (an empty class name) ended this load too.
      endedByIdleRequest = endedByIdleRequest || s_->IsIdle();
      Handoff done;
      done.kind = Handoff::Kind::Done;
      done.generation = tag;
      done.endedByIdleRequest = endedByIdleRequest;
      done.count = count_;
      s_->Emit(std::move(done), stop_);
      // A finished walk holds provider resources for nothing; the connection stays for the
      // next class.
      DropClassState();
      MarkIdle(tag);
    } catch (const std::exception& e) {
      Fail(std::string("WMI Error: ") + e.what());
    } catch (...) {
      Fail("WMI Error: unknown failure");
    }
  }

  bool Emit(Handoff::Kind kind, uint64_t tag, std::string line, std::string path = {}) {
    Handoff h;
    h.kind = kind;
    h.generation = tag;
    h.line = std::move(line);
    h.path = std::move(path);
    return s_->Emit(std::move(h), stop_);
  }

  void Fail(const std::string& text) {
    // A broken connection or enumeration is not reused: the next request starts afresh.
    DropClassState();
    services_.reset();
    const uint64_t tag = seenGeneration_;
    Emit(Handoff::Kind::Failure, tag, text);  // in place of the progress line
    Handoff done;
    done.kind = Handoff::Kind::Done;
    done.generation = tag;
    done.count = count_;
    done.message = text;
    s_->Emit(std::move(done), stop_);
    MarkIdle(tag);
  }

  // Marks the worker idle unless a newer request arrived meanwhile, which must not be lost.
  void MarkIdle(uint64_t tag) {
    std::lock_guard l(s_->lock);
    if (s_->generation == tag) s_->SetIdleLocked(true);
  }

  // Takes up a new request; returns true when the request changed. Starts a fresh load when
  // there is no enumeration.
  bool SyncRequest() {
    if (stop_.stop_requested()) return false;
    // The common case, once per instance: nothing new.
    if (enumerator_ && services_ && !s_->IsIdle() &&
        s_->generationFlag.load(std::memory_order_acquire) == seenGeneration_) {
      return false;
    }
    bool changed = false;
    // Decided under the lock, released after it: a release is a call to the provider (remote,
    // perhaps slow), and the UI thread takes the lock at every class click.
    Released released;
    {
      std::lock_guard l(s_->lock);
      if (s_->idle) return false;
      if (s_->generation != seenGeneration_) {
        const bool sameConnection = haveParams_ && s_->reqHost == params_.host &&
                                    s_->reqNamespace == params_.ns && s_->reqUser == params_.user &&
                                    s_->reqPassword == params_.password;
        if (!sameConnection) {
          params_.host = s_->reqHost;
          params_.ns = s_->reqNamespace;
          params_.user = s_->reqUser;
          util::WipeSecret(params_.password);
          params_.password = s_->reqPassword;
          haveParams_ = true;
          released.services = std::move(services_);
        }
        released.TakeClassState(*this);
        className_ = s_->reqClass;
        seenGeneration_ = s_->generation;
        walkToken_ = s_->walkStop.get_token();
        changed = true;
      } else if (!services_) {
        released.TakeClassState(*this);
      }
    }
    released.Release();
    if (enumerator_) return changed;
    StartLoad();
    return changed;
  }

  void StartLoad() {
    count_ = 0;
    errorText_.clear();
    if (!services_)
      services_ =
          ConnectWmi(*s_->backend, params_.host, params_.ns, params_.user, params_.password);
    if (stop_.stop_requested() || s_->IsIdle()) return;
    if (labelProperty_.empty()) {
      std::string scratch;
      if (ListClassProperties(*s_->backend, params_, className_, propertyNames_, scratch)) {
        labelProperty_ = ChooseLabelProperty(propertyNames_);
      }
    }
    set_ = services_->InstancesOf(className_, kFlagSemisync);
    enumerator_ = set_->NewEnum();
  }

  static std::string ChooseLabelProperty(const util::StringList& names) {
    for (const char* candidate : kLabelProperties) {
      for (const auto& name : names) {
        if (util::AsciiLower(name) == util::AsciiLower(candidate)) return name;
      }
    }
    return {};
  }

  std::string Label(Object& instance) {
    const int position = count_ - 1;
    std::string label;
    if (!labelProperty_.empty()) {
      label = ValueToText(instance.PropertyValue(labelProperty_), s_->regional);
    } else {
      label = util::Format("[%3.3d]", position) + util::Trim(instance.ObjectText(0));
    }
    if (util::Trim(label).empty()) label = util::Format("<<Instance_%2.2d>>", position);
    return label;
  }

  // The path by which the instance can be fetched again; empty when it has none (a keyless
  // class) or cannot be read.
  static std::string RelativePath(Object& instance) {
    for (const char* name : {"__RELPATH", "__PATH"}) {
      try {
        const Value path = instance.PropertyValue(name);
        if (path.type == kVtBstr && !path.text.empty()) return path.text;
      } catch (const std::exception&) {
      }
    }
    return {};
  }

  // What SyncRequest takes out of the worker's state, to release once the lock is free: the
  // walk before its set, both before the connection.
  struct Released {
    std::unique_ptr<Services> services;
    std::unique_ptr<ObjectSet> set;
    std::unique_ptr<ObjectEnumerator> enumerator;

    void TakeClassState(Loader& loader) {
      enumerator = std::move(loader.enumerator_);
      set = std::move(loader.set_);
      loader.labelProperty_.clear();
    }
    void Release() {
      enumerator.reset();
      set.reset();
      services.reset();
    }
  };

  void DropClassState() {
    enumerator_.reset();
    set_.reset();
    labelProperty_.clear();
  }

  std::shared_ptr<Shared> s_;
  std::stop_token stop_;
  ConnectionParams params_;
  bool haveParams_ = false;
  std::unique_ptr<Services> services_;
  std::string className_;
  std::unique_ptr<ObjectSet> set_;
  std::unique_ptr<ObjectEnumerator> enumerator_;
  std::string labelProperty_;
  util::StringList propertyNames_;
  std::string errorText_;
  uint64_t passGeneration_ = 0;
  std::stop_token walkToken_;
  uint64_t seenGeneration_ = 0;
  int count_ = 0;
};

void WorkerMain(std::shared_ptr<Shared> shared) {
  std::string endedText;
  try {
    auto apartment = shared->backend->EnterThread();
    Loader loader(shared, shared->stop.get_token());
    loader.Run();
  } catch (const std::exception& e) {
    endedText = std::string(kLoaderGone) + e.what();
  } catch (...) {
    endedText = std::string(kLoaderGone) + "unknown failure";
  }
  // Nothing escapes the thread; a worker that ended before it was told to stop leaves its
  // reason for the window, now and for every later request.
  const bool unexpected = !shared->stop.stop_requested();
  if (unexpected && endedText.empty()) endedText = std::string(kLoaderGone) + "the loader ended";
  {
    std::lock_guard l(shared->finishLock);
    shared->finished = true;
    if (unexpected) shared->endedText = endedText;
  }
  shared->finishedChanged.notify_all();
  if (unexpected) {
    uint64_t generation;
    {
      std::lock_guard l(shared->lock);
      generation = shared->generation;
    }
    shared->ReportGone(generation, endedText);
  }
}

}  // namespace

TWMIInstancesThread::TWMIInstancesThread(
    std::shared_ptr<Backend> backend, std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
    RegionalSettings regional)
    : shared_(std::make_shared<Shared>(std::move(backend), std::move(dispatcher),
                                       std::move(regional))) {
  shared_->self = shared_;
  try {
    worker_ = std::thread(WorkerMain, shared_);
  } catch (const std::exception& e) {
    // No thread (resources exhausted): the window still works, and every request says why
    // no instances come.
    std::lock_guard l(shared_->finishLock);
    shared_->finished = true;
    shared_->endedText = std::string(kLoaderGone) + e.what();
  }
}

TWMIInstancesThread::~TWMIInstancesThread() {
  Shutdown(std::chrono::seconds(3));
}

void TWMIInstancesThread::SetOnDone(DoneCallback onDone) {
  shared_->onDone = std::move(onDone);
}

void TWMIInstancesThread::SetMaxInstances(int maxInstances) {
  shared_->maxInstances = maxInstances;
}

void TWMIInstancesThread::RequestInstances(const std::string& host, const std::string& ns,
                                           const std::string& user, const std::string& password,
                                           const std::string& className, InstanceList* target) {
  {
    std::lock_guard l(shared_->lock);
    shared_->reqHost = host;
    shared_->reqNamespace = ns;
    shared_->reqUser = user;
    util::WipeSecret(shared_->reqPassword);  // an assignment may free the old buffer as it was
    shared_->reqPassword = password;
    shared_->reqClass = className;
    if (target) {
      shared_->target = target;
    } else {
      shared_->reqHost.clear();
    }
    shared_->NextGenerationLocked();
    shared_->SetIdleLocked(shared_->reqHost.empty() || shared_->reqClass.empty());
  }
  ResetTarget();
  shared_->wake.notify_all();
  AnswerIfWorkerGone();
}

void TWMIInstancesThread::RefreshInstances() {
  {
    std::lock_guard l(shared_->lock);
    if (!shared_->target) shared_->reqHost.clear();
    shared_->NextGenerationLocked();
    shared_->SetIdleLocked(shared_->reqHost.empty() || shared_->reqClass.empty());
  }
  ResetTarget();
  shared_->wake.notify_all();
  AnswerIfWorkerGone();
}

void TWMIInstancesThread::AnswerIfWorkerGone() {
  std::string endedText;
  {
    std::lock_guard l(shared_->finishLock);
    endedText = shared_->endedText;
  }
  if (endedText.empty()) return;
  uint64_t generation;
  {
    std::lock_guard l(shared_->lock);
    if (shared_->idle) return;  // nothing was asked for
    generation = shared_->generation;
  }
  shared_->ReportGone(generation, endedText);
}

void TWMIInstancesThread::ResetTarget() {
  if (shared_->target) shared_->target->Clear();
  shared_->progressShown = false;
  shared_->linesPut = 0;
  shared_->paths.Clear();
}

std::string TWMIInstancesThread::PathOf(int line) const {
  // A list that someone else changed no longer matches the lines the loader put.
  if (!shared_->target || shared_->target->Count() != shared_->linesPut) return {};
  return shared_->paths.PathOf(line);
}

void TWMIInstancesThread::RequestStop() {
  shared_->stop.request_stop();
  {
    std::lock_guard l(shared_->lock);
    shared_->walkStop.request_stop();
  }
  shared_->wake.notify_all();
}

bool TWMIInstancesThread::Shutdown(std::chrono::milliseconds bound) {
  if (!worker_.joinable()) return true;
  shared_->target = nullptr;
  shared_->onDone = nullptr;
  RequestStop();
  bool ended;
  {
    std::unique_lock l(shared_->finishLock);
    ended = shared_->finishedChanged.wait_for(l, bound, [&] { return shared_->finished; });
  }
  if (ended) {
    worker_.join();
  } else {
    // Stuck inside a WMI call that cannot be interrupted. The worker owns its share of
    // everything it touches and can no longer reach the window; the process ends without it.
    worker_.detach();
  }
  return ended;
}

}  // namespace brevane::wmi
