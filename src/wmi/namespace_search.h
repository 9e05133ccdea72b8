#pragma once
// The bookkeeping of a search for a class in every namespace of a computer: which namespaces
// wait, which are being looked into (a bounded number at once), which refused, and which
// class names match. Not thread-safe: the walk that drives it holds its lock.
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

struct NamespaceRefusal {
  std::string ns;
  std::string error;
};

class NamespaceSearch {
 public:
  static constexpr int kMaxAtOnce = 4;
  // A computer with more namespaces than this is not walked further (a provider that makes
  // up namespaces without end).
  static constexpr size_t kMaxNamespaces = 20000;

  // pattern: part of a class name, ASCII case ignored; blanks around it do not count.
  explicit NamespaceSearch(std::string_view pattern, std::string_view root = "root");

  bool Matches(std::string_view className) const;

  // A namespace to look into now, while fewer than kMaxAtOnce are; none when all are busy or
  // nothing waits.
  std::optional<std::string> Take();
  // The children (Names) a namespace being looked into has; those not seen yet wait.
  void ChildrenFound(const std::string& ns, const std::vector<std::string>& names);
  // The namespace refused the connection: counted and listed.
  void Refused(const std::string& ns, std::string error);
  // Its classes could not be enumerated (a WMI that cannot list classes says so for each).
  void ClassesUnavailable(const std::string& ns, std::string error);
  void Hit() { ++hits_; }
  // The namespace taken last by Take is done with.
  void Finished();

  // Nothing waits and nothing is being looked into.
  bool Done() const { return waiting_.empty() && running_ == 0; }
  int Running() const { return running_; }
  size_t Visited() const { return visited_; }
  size_t Hits() const { return hits_; }
  const std::vector<NamespaceRefusal>& RefusedList() const { return refused_; }
  size_t UnavailableCount() const { return unavailable_; }
  const std::string& LastUnavailableError() const { return lastUnavailable_; }
  bool Truncated() const { return truncated_; }

 private:
  void Enqueue(std::string fullName);

  std::string pattern_;               // folded
  std::vector<std::string> waiting_;  // taken from the front
  size_t next_ = 0;                   // index of the next waiting namespace
  std::set<std::string> seen_;        // folded full names ever queued
  int running_ = 0;
  size_t visited_ = 0;
  size_t hits_ = 0;
  std::vector<NamespaceRefusal> refused_;
  size_t unavailable_ = 0;
  std::string lastUnavailable_;
  bool truncated_ = false;
};

// The line under the list: "N 个命名空间，M 个类" with what refused or could not list classes.
std::string NamespaceSearchSummary(const NamespaceSearch& search, bool running);

}  // namespace brevane::wmi
