#pragma once
// Where a query that goes to many computers stands on each of them, and the totals the
// status bar shows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

enum class ComputerState { Waiting, Connecting, Running, Done, Failed, Stopped };

// "waiting", "connecting", "running", "done", "failed", "stopped".
std::string_view ComputerStateText(ComputerState state);
// Done, failed and stopped are final: nothing of the same run changes them again.
bool IsFinal(ComputerState state);

struct ComputerStatus {
  std::string name;  // as typed
  ComputerState state = ComputerState::Waiting;
  uint64_t objects = 0;      // rows this computer put into the table, over all runs
  int64_t milliseconds = 0;  // from the start of its connect to its end
  std::string error;         // WMI's or the system's text when it failed
};

class FleetStatus {
 public:
  // Every computer waiting, nothing counted.
  void Reset(const std::vector<std::string>& names);
  // Puts the failed computers back to waiting (their objects stay counted, as their rows stay
  // in the table) and returns their indexes, for a run on them alone.
  std::vector<size_t> RetryFailed();

  // A step of a computer's run; ignored for an index out of range or a computer whose state
  // is already final.
  void SetState(size_t index, ComputerState state);
  void AddObjects(size_t index, uint64_t count);
  void Finish(size_t index, ComputerState state, int64_t milliseconds, std::string error = {});
  // Every computer not yet final is stopped; the ones that never started have 0 ms.
  void StopAll();

  const std::vector<ComputerStatus>& Computers() const { return computers_; }
  bool Active() const;  // a computer waits, connects or runs
  size_t Count(ComputerState state) const;
  uint64_t Objects() const;

  // "Computers: 36/40 done, 4 failed, 468 objects, 2.3 sec".
  std::string PanelText(int64_t elapsedMilliseconds) const;

 private:
  std::vector<ComputerStatus> computers_;
};

// The line of the status list "计算机状态" for one computer: name, state, objects,
// milliseconds (once it ended) and the error on one line.
inline constexpr size_t kStatusColumns = 5;
inline constexpr std::array<std::string_view, kStatusColumns> kStatusCaptions = {
    "Computer", "State", "Objects", "ms", "Error"};
std::array<std::string, kStatusColumns> StatusCells(const ComputerStatus& computer);

}  // namespace brevane::wmi
