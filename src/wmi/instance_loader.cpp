#include "wmi/instance_loader.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>

#include "wmi/instance_walk.h"

namespace brevane::wmi {

namespace {
constexpr const char* kLoaderGone = "Instances cannot be loaded: ";

// Tells the window that loads cannot run at all (the worker is gone); any thread.
void ReportGone(InstanceOutbox& outbox, uint64_t generation, const std::string& text) {
  outbox.PushPastLimit(
      {InstanceHandoff::Failure(generation, text), InstanceHandoff::Done(generation, 0, text)});
}
}  // namespace

// The worker's end, for the bounded shutdown and for the requests that come after it.
struct InstanceLoader::WorkerEnd {
  std::mutex lock;
  std::condition_variable changed;
  bool finished = false;
  // Why the worker is gone when it ended before shutdown (or never started).
  std::string text;
  // The request last told why. The worker as it ends and the window as it asks may both
  // see the same request: it is told once.
  std::optional<uint64_t> told;

  void Finish(std::string reason) {
    {
      std::lock_guard l(lock);
      finished = true;
      text = std::move(reason);
    }
    changed.notify_all();
  }
  std::string Text() {
    std::lock_guard l(lock);
    return text;
  }
  bool ClaimTelling(uint64_t generation) {
    std::lock_guard l(lock);
    if (told == generation) return false;
    told = generation;
    return true;
  }
};

// Everything the worker thread uses, shared so that a worker left behind outlives the loader
// safely.
struct InstanceLoader::WorkerShare {
  std::shared_ptr<Backend> backend;
  RegionalSettings regional;
  std::shared_ptr<InstanceRequestMailbox> mailbox;
  std::shared_ptr<InstanceOutbox> outbox;
  std::shared_ptr<WorkerEnd> end;
  std::stop_token stop;
};

void InstanceLoader::WorkerMain(WorkerShare share) {
  std::string endedText;
  try {
    auto apartment = share.backend->EnterThread();
    InstanceWalk walk(*share.backend, share.regional, *share.mailbox, *share.outbox, share.stop);
    walk.Run();
  } catch (const std::exception& e) {
    endedText = std::string(kLoaderGone) + e.what();
  } catch (...) {
    endedText = std::string(kLoaderGone) + "unknown failure";
  }
  // Nothing escapes the thread; a worker that ended before it was told to stop leaves its
  // reason for the window, now and for every later request.
  const bool unexpected = !share.stop.stop_requested();
  if (unexpected && endedText.empty()) endedText = std::string(kLoaderGone) + "the loader ended";
  share.end->Finish(unexpected ? endedText : std::string());
  if (unexpected) {
    const uint64_t generation = share.mailbox->Generation();
    if (share.end->ClaimTelling(generation)) ReportGone(*share.outbox, generation, endedText);
  }
}

InstanceLoader::InstanceLoader(std::shared_ptr<Backend> backend,
                               std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                               RegionalSettings regional, OutboxLimits limits)
    : mailbox_(std::make_shared<InstanceRequestMailbox>()),
      writer_(std::make_shared<framework::UiThreadOnly<InstanceListWriter>>(mailbox_)),
      outbox_(std::make_shared<InstanceOutbox>(
          std::move(dispatcher), limits,
          [writer = std::weak_ptr(writer_)](std::span<const InstanceHandoff> batch) {
            if (auto alive = writer.lock()) (*alive)->Apply(batch);
          })),
      end_(std::make_shared<WorkerEnd>()) {
  try {
    worker_ = std::thread(WorkerMain, WorkerShare{std::move(backend), std::move(regional), mailbox_,
                                                  outbox_, end_, stop_.get_token()});
  } catch (const std::exception& e) {
    // No thread (resources exhausted): the window still works, and every request says why
    // no instances come.
    end_->Finish(std::string(kLoaderGone) + e.what());
  }
}

InstanceLoader::~InstanceLoader() {
  Shutdown(std::chrono::seconds(3));
}

void InstanceLoader::SetOnDone(DoneCallback onDone) {
  (*writer_)->SetOnDone(std::move(onDone));
}

void InstanceLoader::SetMaxInstances(int maxInstances) {
  mailbox_->SetMaxInstances(maxInstances);
}

void InstanceLoader::RequestInstances(const std::string& host, const std::string& ns,
                                      const std::string& user, const std::string& password,
                                      const std::string& className, InstanceList* target) {
  auto& writer = **writer_;
  writer.Retarget(target);
  // Without a list to fill, the worker stays idle.
  ConnectionParams connection{target ? host : std::string(), ns, user, password};
  mailbox_->Post(connection, className);
  writer.Reset();
  AnswerIfWorkerGone();
}

void InstanceLoader::RefreshInstances() {
  auto& writer = **writer_;
  mailbox_->Renew(!writer.HasTarget());
  writer.Reset();
  AnswerIfWorkerGone();
}

void InstanceLoader::StopLoading() {
  auto& writer = **writer_;
  mailbox_->Post(ConnectionParams{}, std::string());  // a new generation that leaves it idle
  writer.Reset();
  writer.SilenceOlderThan(mailbox_->Generation());
}

void InstanceLoader::AnswerIfWorkerGone() {
  const std::string endedText = end_->Text();
  if (endedText.empty()) return;
  const auto generation = mailbox_->ActiveGeneration();
  if (!generation) return;  // nothing was asked for
  if (end_->ClaimTelling(*generation)) ReportGone(*outbox_, *generation, endedText);
}

std::string InstanceLoader::PathOf(int line) const {
  return (*writer_)->PathOf(line);
}

void InstanceLoader::RequestStop() {
  stop_.request_stop();
  mailbox_->InterruptWalk();
}

void InstanceLoader::BeginShutdown() {
  (*writer_)->Detach();
  if (worker_.joinable()) RequestStop();
}

bool InstanceLoader::FinishShutdown(std::chrono::steady_clock::time_point deadline) {
  if (!worker_.joinable()) return true;
  bool ended;
  {
    std::unique_lock l(end_->lock);
    ended = end_->changed.wait_until(l, deadline, [&] { return end_->finished; });
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

bool InstanceLoader::Shutdown(std::chrono::milliseconds bound) {
  BeginShutdown();
  return FinishShutdown(std::chrono::steady_clock::now() + bound);
}

}  // namespace brevane::wmi
