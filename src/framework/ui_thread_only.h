#pragma once
// UiThreadOnly<T>: a value that only the thread which created it (the UI thread) may touch.
// Debug builds check the rule on every access, so that a worker reaching for window-side state
// fails at once in the tests instead of racing now and then in the field.
#include <cassert>
#include <thread>
#include <utility>

namespace brevane::framework {

template <typename T>
class UiThreadOnly {
 public:
  template <typename... Args>
  explicit UiThreadOnly(Args&&... args) : value_(std::forward<Args>(args)...) {}
  UiThreadOnly(const UiThreadOnly&) = delete;
  UiThreadOnly& operator=(const UiThreadOnly&) = delete;

  T& operator*() { return Checked(); }
  const T& operator*() const { return Checked(); }
  T* operator->() { return &Checked(); }
  const T* operator->() const { return &Checked(); }

 private:
  T& Checked() {
    assert(std::this_thread::get_id() == owner_ && "UI-thread state touched from another thread");
    return value_;
  }
  const T& Checked() const {
    assert(std::this_thread::get_id() == owner_ && "UI-thread state touched from another thread");
    return value_;
  }

  const std::thread::id owner_ = std::this_thread::get_id();
  T value_;
};

}  // namespace brevane::framework
