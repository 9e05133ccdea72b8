#pragma once
// The UI side of the instance loader: puts what the worker sends into the window's instance
// list, drops what a newer request made stale, ends a load the list cannot take, and remembers
// the instance path of each line it put. It lives on the UI thread only (its owner keeps it in
// a UiThreadOnly), so none of its state needs a lock.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "wmi/instance_handoff.h"
#include "wmi/instance_list.h"
#include "wmi/instance_paths.h"
#include "wmi/instance_request_mailbox.h"

namespace brevane::wmi {

inline constexpr const char* kProgressLine = "Requesting WMI...";

class InstanceListWriter {
 public:
  using DoneCallback = std::function<void(int count, const std::string& message)>;

  // The mailbox tells which generation is current, and takes an abandoned load.
  explicit InstanceListWriter(std::shared_ptr<InstanceRequestMailbox> mailbox);
  InstanceListWriter(const InstanceListWriter&) = delete;
  InstanceListWriter& operator=(const InstanceListWriter&) = delete;

  void SetOnDone(DoneCallback onDone) { onDone_ = std::move(onDone); }
  // The list that the next loads fill; null keeps the current one.
  void Retarget(InstanceList* target);
  bool HasTarget() const { return target_ != nullptr; }
  // Empties the list for a new load.
  void Reset();
  // Loads older than `generation` report nothing more, not even their end.
  void SilenceOlderThan(uint64_t generation) { silencedBelow_ = generation; }
  // Forgets the list and the callback: nothing reaches the window any more.
  void Detach();
  // The relative path of the instance on this line; empty when it has none (a keyless class,
  // a progress or failure line) or someone else changed the list.
  std::string PathOf(int line) const;
  // One drained batch, in order.
  void Apply(std::span<const InstanceHandoff> batch);

 private:
  void ApplyOne(const InstanceHandoff& h, bool progressReplacedNext);
  bool Accepts(uint64_t generation) const;
  bool Put(const std::string& line, bool isProgress, std::string path = {});
  void AbandonLoad(uint64_t generation);

  const std::shared_ptr<InstanceRequestMailbox> mailbox_;
  InstanceList* target_ = nullptr;
  DoneCallback onDone_;
  bool progressShown_ = false;  // the target's last line is our progress line
  int linesPut_ = 0;            // lines the current generation put into the target
  // A load the window ended itself (the list refused a line); the rest of it is dropped.
  std::optional<uint64_t> abandonedGeneration_;
  InstancePaths paths_;  // the path of each line put
  uint64_t silencedBelow_ = 0;
};

}  // namespace brevane::wmi
