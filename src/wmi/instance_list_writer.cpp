#include "wmi/instance_list_writer.h"

namespace brevane::wmi {

namespace {
constexpr const char* kListRefused = "Instances stopped: the instance list cannot take more lines";
}  // namespace

InstanceListWriter::InstanceListWriter(std::shared_ptr<InstanceRequestMailbox> mailbox)
    : mailbox_(std::move(mailbox)) {}

void InstanceListWriter::Retarget(InstanceList* target) {
  if (target) target_ = target;
}

void InstanceListWriter::Reset() {
  if (target_) target_->Clear();
  progressShown_ = false;
  linesPut_ = 0;
  paths_.Clear();
}

void InstanceListWriter::Detach() {
  target_ = nullptr;
  onDone_ = nullptr;
}

std::string InstanceListWriter::PathOf(int line) const {
  // A list that someone else changed no longer matches the lines the loader put.
  if (!target_ || target_->Count() != linesPut_) return {};
  return paths_.PathOf(line);
}

void InstanceListWriter::Apply(std::span<const InstanceHandoff> batch) {
  if (target_) target_->BeginUpdate();
  InstanceList* updating = target_;
  for (size_t i = 0; i < batch.size(); ++i) {
    // A progress line that the very next label would replace at once is not shown at all.
    const bool replacedNext = i + 1 < batch.size() &&
                              batch[i + 1].generation == batch[i].generation &&
                              (batch[i + 1].kind == InstanceHandoff::Kind::Label ||
                               batch[i + 1].kind == InstanceHandoff::Kind::Failure);
    ApplyOne(batch[i], replacedNext);
  }
  if (updating && updating == target_) updating->EndUpdate();
}

bool InstanceListWriter::Accepts(uint64_t generation) const {
  if (!mailbox_->IsCurrent(generation)) return false;
  // Someone else emptied or changed the list (a class list reload, a search): the rest of
  // this load would no longer match the list's positions, so it stays out.
  return target_ && target_->Count() == linesPut_;
}

// False when the list refused the line (a list box out of memory answers LB_ERRSPACE): its
// count then did not change as it should have.
bool InstanceListWriter::Put(const std::string& line, bool isProgress, std::string path) {
  const int before = target_->Count();
  bool taken;
  if (progressShown_ && before > 0) {
    target_->ReplaceLast(line);
    taken = target_->Count() == before;
  } else {
    target_->Append(line);
    taken = target_->Count() == before + 1;
    if (taken) ++linesPut_;
  }
  if (taken) paths_.Set(linesPut_ - 1, std::move(path));
  progressShown_ = isProgress && taken;
  return taken;
}

// The list refused a line: this load ends here, visibly, and the worker stops walking it.
void InstanceListWriter::AbandonLoad(uint64_t generation) {
  if (!mailbox_->Abandon(generation)) return;
  abandonedGeneration_ = generation;
  const int labels = linesPut_ - (progressShown_ ? 1 : 0);
  // The progress line must not stay: the failure text takes its place where it can.
  if (progressShown_ && target_->Count() > 0) target_->ReplaceLast(kListRefused);
  progressShown_ = false;
  if (onDone_) onDone_(labels, kListRefused);
}

void InstanceListWriter::ApplyOne(const InstanceHandoff& h, bool progressReplacedNext) {
  using Kind = InstanceHandoff::Kind;
  if (abandonedGeneration_ == h.generation) return;
  const bool accepted = Accepts(h.generation);
  bool taken = true;
  switch (h.kind) {
    case Kind::Progress:
      if (accepted && !progressReplacedNext) taken = Put(kProgressLine, true);
      break;
    case Kind::Label:
      if (!accepted) return;
      taken = Put(h.line, false, h.path) && (progressReplacedNext || Put(kProgressLine, true));
      break;
    case Kind::Failure:
      if (accepted) taken = Put(h.line, false);
      break;
    case Kind::Done:
      break;
  }
  if (!taken) AbandonLoad(h.generation);
  if (h.kind != Kind::Done) return;
  if (accepted && progressShown_ && target_->Count() > 0) {
    target_->DeleteLast();
    --linesPut_;
    paths_.Truncate(linesPut_);
    progressShown_ = false;
  }
  // A load that a newer request replaced reports nothing, unless that request made the
  // worker idle (an empty class name), which ends the load as far as the window knows.
  if (h.generation < silencedBelow_) return;
  if (onDone_ && (mailbox_->IsCurrent(h.generation) || h.endedByIdleRequest))
    onDone_(h.count, h.message);
}

}  // namespace brevane::wmi
