#pragma once
// Runs an action when the scope is left, also by an exception: state changed around a call is
// put back on every way out.
#include <utility>

namespace brevane::util {

template <typename Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action action_;
};

}  // namespace brevane::util
