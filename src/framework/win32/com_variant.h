#pragma once
// Variant: an owned VARIANT, cleared exactly once. Move-only.
#include <windows.h>
#include <oleauto.h>

namespace brevane::framework::win32 {

class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }

  Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  const VARIANT& Get() const { return value_; }
  // Clears the current value and hands out the slot for an output parameter or for filling.
  VARIANT* Receive() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

}  // namespace brevane::framework::win32
