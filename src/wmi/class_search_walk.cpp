#include "wmi/class_search_walk.h"

#include <exception>
#include <utility>

#include "wmi/item_stream.h"
#include "wmi/namespace_children.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

struct ClassSearchWalk::NamespaceEnd {
  std::string ns;
  bool refused = false;             // the namespace did not open
  bool classesUnavailable = false;  // it opened, but its classes could not be enumerated
  std::string error;
  std::vector<std::string> children;
};

ClassSearchWalk::ClassSearchWalk(std::shared_ptr<Backend> backend,
                                 std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                                 std::shared_ptr<HostThreadCounter> hosts)
    : backend_(std::move(backend)),
      dispatcher_(std::move(dispatcher)),
      hosts_(hosts ? std::move(hosts) : std::make_shared<HostThreadCounter>()) {}

ClassSearchWalk::~ClassSearchWalk() {
  BeginShutdown();
  FinishShutdown(std::chrono::steady_clock::now() + std::chrono::seconds(2));
}

void ClassSearchWalk::Start(const ConnectionParams& conn, const std::string& pattern,
                            ClassSearchCallbacks callbacks) {
  Stop();
  conn_ = conn;
  pattern_ = pattern;
  callbacks_ = std::move(callbacks);
  search_.emplace(pattern);
  active_ = true;
  // The workers are made once and kept for the next walk.
  while (slots_.size() < static_cast<size_t>(NamespaceSearch::kMaxAtOnce)) {
    Slot slot;
    slot.worker = std::make_unique<RequestWorker>(backend_, dispatcher_, hosts_);
    slots_.push_back(std::move(slot));
  }
  Feed();
}

void ClassSearchWalk::Stop() {
  ++generation_;
  for (Slot& slot : slots_) {
    if (!slot.busy) continue;
    slot.worker->Cancel();
    slot.busy = false;
  }
  active_ = false;  // what still waits is not looked into any more
}

void ClassSearchWalk::Feed() {
  for (size_t slot = 0; slot < slots_.size(); ++slot) {
    if (slots_[slot].busy) continue;
    std::optional<std::string> ns = search_->Take();
    if (!ns) return;
    slots_[slot].busy = true;

    ConnectionParams conn = conn_;
    conn.ns = *ns;
    const uint64_t generation = generation_;
    auto deliverHits = [this, generation](std::vector<ClassHit>&& hits) {
      if (generation != generation_ || !search_) return;
      for (size_t i = 0; i < hits.size(); ++i) search_->Hit();
      if (callbacks_.hits) {
        const auto deliver = callbacks_.hits;
        deliver(std::move(hits));
      }
    };
    auto finished = [this, generation, slot](NamespaceEnd&& end) {
      OnNamespaceEnd(generation, slot, std::move(end));
    };
    slots_[slot].worker->Start(
        conn, [ns = *ns, pattern = pattern_, deliverHits, finished](RequestContext& context) {
          NamespaceEnd end;
          end.ns = ns;
          const std::stop_token stop = context.Stop();
          Services* services = nullptr;
          try {
            services = &context.Connection();
          } catch (...) {
            end.refused = true;
            end.error = RequestFailureText(context, std::current_exception());
          }
          if (services) {
            const NamespaceSearch matcher(pattern);
            try {
              ItemStream<ClassHit> stream(context, deliverHits);
              auto classes = services->SubclassesOf("", kFlagSemisync)->NewEnum();
              std::unique_ptr<Object> classObject;
              while (classes->Next(classObject, stop) && classObject) {
                std::string name = classObject->ClassName();
                classObject.reset();
                if (matcher.Matches(name) && !stream.Push({ns, std::move(name)})) return;
              }
            } catch (...) {
              end.classesUnavailable = true;
              end.error = RequestFailureText(context, std::current_exception());
            }
            if (stop.stop_requested()) return;
            try {
              end.children = ChildNamespaceNames(*services, stop);
            } catch (...) {
              RequestFailureText(context, std::current_exception());  // no children to follow
            }
          }
          if (stop.stop_requested()) return;
          context.Post([finished, end = std::move(end)]() mutable { finished(std::move(end)); });
        });
  }
}

void ClassSearchWalk::OnNamespaceEnd(uint64_t generation, size_t slot, NamespaceEnd&& end) {
  if (generation != generation_ || !search_) return;
  slots_[slot].busy = false;
  if (end.refused) {
    search_->Refused(end.ns, std::move(end.error));
  } else {
    if (end.classesUnavailable) search_->ClassesUnavailable(end.ns, std::move(end.error));
    search_->ChildrenFound(end.ns, end.children);
  }
  search_->Finished();
  Feed();
  const bool done = search_->Done();
  if (done) active_ = false;
  if (callbacks_.progress) {
    const auto progress = callbacks_.progress;
    progress(*search_);
  }
  if (done && generation == generation_ && callbacks_.ended) {
    const auto ended = callbacks_.ended;
    ended(*search_);
  }
}

void ClassSearchWalk::BeginShutdown() {
  Stop();
  for (Slot& slot : slots_) slot.worker->BeginShutdown();
}

bool ClassSearchWalk::FinishShutdown(std::chrono::steady_clock::time_point deadline) {
  bool allEnded = true;
  for (Slot& slot : slots_) allEnded = slot.worker->FinishShutdown(deadline) && allEnded;
  return allEnded;
}

}  // namespace brevane::wmi
