#include "wmi/fleet_status.h"

#include <algorithm>

#include "util/text.h"

namespace brevane::wmi {

std::string_view ComputerStateText(ComputerState state) {
  switch (state) {
    case ComputerState::Waiting:
      return "waiting";
    case ComputerState::Connecting:
      return "connecting";
    case ComputerState::Running:
      return "running";
    case ComputerState::Done:
      return "done";
    case ComputerState::Failed:
      return "failed";
    case ComputerState::Stopped:
      return "stopped";
  }
  return "";
}

bool IsFinal(ComputerState state) {
  return state == ComputerState::Done || state == ComputerState::Failed ||
         state == ComputerState::Stopped;
}

void FleetStatus::Reset(const std::vector<std::string>& names) {
  computers_.clear();
  computers_.reserve(names.size());
  for (const std::string& name : names) {
    ComputerStatus computer;
    computer.name = name;
    computers_.push_back(std::move(computer));
  }
}

std::vector<size_t> FleetStatus::RetryFailed() {
  std::vector<size_t> failed;
  for (size_t i = 0; i < computers_.size(); ++i) {
    ComputerStatus& computer = computers_[i];
    if (computer.state != ComputerState::Failed) continue;
    computer.state = ComputerState::Waiting;
    computer.milliseconds = 0;
    computer.error.clear();
    failed.push_back(i);
  }
  return failed;
}

void FleetStatus::SetState(size_t index, ComputerState state) {
  if (index >= computers_.size() || IsFinal(computers_[index].state)) return;
  computers_[index].state = state;
}

void FleetStatus::AddObjects(size_t index, uint64_t count) {
  if (index >= computers_.size() || IsFinal(computers_[index].state)) return;
  computers_[index].objects += count;
}

void FleetStatus::Finish(size_t index, ComputerState state, int64_t milliseconds,
                         std::string error) {
  if (index >= computers_.size() || IsFinal(computers_[index].state)) return;
  ComputerStatus& computer = computers_[index];
  computer.state = IsFinal(state) ? state : ComputerState::Failed;
  computer.milliseconds = std::max<int64_t>(milliseconds, 0);
  computer.error = std::move(error);
}

void FleetStatus::StopAll() {
  for (ComputerStatus& computer : computers_) {
    if (!IsFinal(computer.state)) computer.state = ComputerState::Stopped;
  }
}

bool FleetStatus::Active() const {
  return std::any_of(computers_.begin(), computers_.end(),
                     [](const ComputerStatus& c) { return !IsFinal(c.state); });
}

size_t FleetStatus::Count(ComputerState state) const {
  return static_cast<size_t>(
      std::count_if(computers_.begin(), computers_.end(),
                    [state](const ComputerStatus& c) { return c.state == state; }));
}

uint64_t FleetStatus::Objects() const {
  uint64_t objects = 0;
  for (const ComputerStatus& computer : computers_) objects += computer.objects;
  return objects;
}

std::string FleetStatus::PanelText(int64_t elapsedMilliseconds) const {
  const int64_t tenths = (std::max<int64_t>(elapsedMilliseconds, 0) + 50) / 100;
  const auto count = [](size_t n) { return static_cast<unsigned long long>(n); };
  return util::Format("Computers: %llu/%llu done, %llu failed, %llu objects, %lld.%lld sec",
                      count(Count(ComputerState::Done)), count(computers_.size()),
                      count(Count(ComputerState::Failed)),
                      static_cast<unsigned long long>(Objects()),
                      static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
}

std::array<std::string, kStatusColumns> StatusCells(const ComputerStatus& computer) {
  // A provider's message may run over several lines; a list line shows only one.
  std::string error;
  error.reserve(computer.error.size());
  for (char c : computer.error) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (!error.empty() && error.back() != ' ') error += ' ';
    } else {
      error += c;
    }
  }
  while (!error.empty() && error.back() == ' ') error.pop_back();
  return {computer.name, std::string(ComputerStateText(computer.state)),
          std::to_string(computer.objects),
          IsFinal(computer.state) ? std::to_string(computer.milliseconds) : std::string(),
          std::move(error)};
}

}  // namespace brevane::wmi
