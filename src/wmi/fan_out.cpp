#include "wmi/fan_out.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "wmi/computer_column.h"
#include "wmi/query_stream.h"

namespace brevane::wmi {

namespace {

constexpr int kMinLimit = 1;
constexpr int kMaxLimit = 256;

std::string WithoutErrorPrefix(const std::string& text) {
  constexpr std::string_view kPrefix = "Error: ";
  return text.rfind(kPrefix, 0) == 0 ? text.substr(kPrefix.size()) : text;
}

}  // namespace

FanOut::FanOut(std::shared_ptr<Backend> backend,
               std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
               std::shared_ptr<HostThreadCounter> hosts)
    : backend_(std::move(backend)),
      dispatcher_(std::move(dispatcher)),
      hosts_(hosts ? std::move(hosts) : std::make_shared<HostThreadCounter>()) {}

FanOut::~FanOut() {
  BeginShutdown();
  FinishShutdown(std::chrono::steady_clock::now() + std::chrono::seconds(2));
}

void FanOut::Start(const ConnectionParams& conn, const RegionalSettings& regional,
                   const std::string& queryText, std::vector<FanOutComputer> computers, int limit,
                   FanOutCallbacks callbacks) {
  Stop();
  conn_ = conn;
  regional_ = regional;
  queryText_ = queryText;
  callbacks_ = std::move(callbacks);
  waiting_.assign(std::make_move_iterator(computers.begin()),
                  std::make_move_iterator(computers.end()));
  // Workers are made as a run first needs them and kept for the next run.
  const size_t width =
      std::min(static_cast<size_t>(std::clamp(limit, kMinLimit, kMaxLimit)), waiting_.size());
  while (slots_.size() < width) {
    Slot slot;
    slot.worker = std::make_unique<RequestWorker>(backend_, dispatcher_, hosts_);
    slots_.push_back(std::move(slot));
  }
  for (size_t slot = 0; slot < width; ++slot) Feed(slot);
  if (!Running() && callbacks_.ended) {
    const auto ended = callbacks_.ended;
    ended();
  }
}

void FanOut::Stop() {
  ++generation_;
  waiting_.clear();
  for (Slot& slot : slots_) {
    if (!slot.busy) continue;
    slot.worker->Cancel();
    slot.busy = false;
  }
  running_ = 0;
}

void FanOut::Feed(size_t slot) {
  if (waiting_.empty()) return;
  FanOutComputer computer = std::move(waiting_.front());
  waiting_.pop_front();
  slots_[slot].busy = true;
  ++running_;

  ConnectionParams conn = conn_;
  conn.host = computer.name;
  const uint64_t generation = generation_;
  const size_t index = computer.index;
  const auto started = std::chrono::steady_clock::now();
  // Each step asks whether its run is still the current one: a callback may have stopped or
  // replaced it meanwhile.
  auto current = [this, generation] { return generation == generation_; };
  QueryCallbacks query;
  query.connecting = [this, current, index] {
    if (current() && callbacks_.state) callbacks_.state(index, ComputerState::Connecting);
  };
  auto connected = [this, current, index] {
    if (current() && callbacks_.state) callbacks_.state(index, ComputerState::Running);
  };
  query.rows = [this, current, index, name = computer.name](ResultTable&& table) {
    if (!current() || !callbacks_.rows) return;
    AddComputerColumn(table, name);
    callbacks_.rows(index, std::move(table));
  };
  query.ended = [this, current, index, slot, generation, started](const QueryEnd& end) {
    if (!current()) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(end.lastObject - started).count();
    if (callbacks_.finished) {
      const auto finished = callbacks_.finished;
      finished(index, end.ok ? ComputerState::Done : ComputerState::Failed,
               static_cast<int64_t>(ms),
               end.ok ? std::string() : WithoutErrorPrefix(end.errorText));
    }
    OnFinished(generation, slot);
  };
  StartQuery(*slots_[slot].worker, conn, regional_, queryText_, std::move(query),
             std::move(connected));
}

void FanOut::OnFinished(uint64_t generation, size_t slot) {
  if (generation != generation_) return;
  slots_[slot].busy = false;
  --running_;
  Feed(slot);
  if (!Running() && callbacks_.ended) {
    const auto ended = callbacks_.ended;
    ended();
  }
}

void FanOut::BeginShutdown() {
  Stop();
  for (Slot& slot : slots_) slot.worker->BeginShutdown();
}

bool FanOut::FinishShutdown(std::chrono::steady_clock::time_point deadline) {
  bool allEnded = true;
  for (Slot& slot : slots_) allEnded = slot.worker->FinishShutdown(deadline) && allEnded;
  return allEnded;
}

}  // namespace brevane::wmi
