#include "wmi/namespace_search.h"

#include "util/text.h"
#include "wmi/namespace_path.h"

namespace brevane::wmi {

NamespaceSearch::NamespaceSearch(std::string_view pattern, std::string_view root)
    : pattern_(util::AsciiLower(util::Trim(pattern))) {
  Enqueue(std::string(root));
}

bool NamespaceSearch::Matches(std::string_view className) const {
  return util::AsciiLower(className).find(pattern_) != std::string::npos;
}

void NamespaceSearch::Enqueue(std::string fullName) {
  if (seen_.size() >= kMaxNamespaces) {
    truncated_ = true;
    return;
  }
  if (!seen_.insert(util::AsciiLower(fullName)).second) return;
  waiting_.push_back(std::move(fullName));
}

std::optional<std::string> NamespaceSearch::Take() {
  if (running_ >= kMaxAtOnce || next_ >= waiting_.size()) return std::nullopt;
  ++running_;
  std::string ns = std::move(waiting_[next_++]);
  if (next_ == waiting_.size()) {
    waiting_.clear();
    next_ = 0;
  }
  return ns;
}

void NamespaceSearch::ChildrenFound(const std::string& ns, const std::vector<std::string>& names) {
  for (const auto& name : names) {
    if (!UsableChildName(name) || ns.size() + 1 + name.size() > kMaxNamespaceLength) continue;
    Enqueue(ChildNamespace(ns, name));
  }
}

void NamespaceSearch::Refused(const std::string& ns, std::string error) {
  refused_.push_back({ns, std::move(error)});
}

void NamespaceSearch::ClassesUnavailable(const std::string&, std::string error) {
  ++unavailable_;
  lastUnavailable_ = std::move(error);
}

void NamespaceSearch::Finished() {
  if (running_ > 0) --running_;
  ++visited_;
}

std::string NamespaceSearchSummary(const NamespaceSearch& search, bool running) {
  using std::to_string;
  std::string text = (running ? "正在查找: " : "已查找 ") + to_string(search.Visited()) +
                     " 个命名空间，找到 " + to_string(search.Hits()) + " 个类";
  if (!search.RefusedList().empty())
    text += "；" + to_string(search.RefusedList().size()) + " 个命名空间拒绝连接";
  if (search.UnavailableCount() > 0) {
    text += "；" + to_string(search.UnavailableCount()) + " 个命名空间无法列出类 (" +
            search.LastUnavailableError() + ")";
  }
  if (search.Truncated()) text += "；命名空间过多，其余未查找";
  return text;
}

}  // namespace brevane::wmi
