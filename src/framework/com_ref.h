#pragma once
// ComRef: the one owner of a COM interface pointer. Move-only, so that every reference is
// released exactly once. Taking a raw pointer never adds a reference: a pointer that an
// out-parameter or IEnumWbemClassObject::Next handed over already carries ours (unlike mingw's
// WRL ComPtr, whose Attach adds one and leaks every object taken that way). Sharing is
// explicit (Share, Copy). Needs only AddRef and Release of T, so it builds and is tested
// without Windows.
#include <utility>

namespace brevane::framework {

template <typename T>
class ComRef {
 public:
  ComRef() noexcept = default;
  ~ComRef() { Reset(); }
  ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  // Takes over the reference the caller holds.
  static ComRef Take(T* raw) noexcept {
    ComRef owner;
    owner.pointer_ = raw;
    return owner;
  }
  // Adds a reference of its own; the caller keeps its one.
  static ComRef Share(T* raw) noexcept {
    if (raw) raw->AddRef();
    return Take(raw);
  }
  ComRef Copy() const noexcept { return Share(pointer_); }

  T* Get() const noexcept { return pointer_; }
  T* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }

  // Releases the current object and hands out the slot for an out-parameter, which then
  // holds the reference the callee gave.
  T** Receive() noexcept {
    Reset();
    return &pointer_;
  }
  // The same slot for calls that take an interface id and a void** (QueryInterface,
  // CoCreateInstance).
  void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

  void Reset() noexcept {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace brevane::framework
