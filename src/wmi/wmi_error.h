#pragma once
// The failure that WMI calls raise inside the WMI layer. It never leaves the layer: every
// operation catches it and turns it into failure text.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace brevane::wmi {

class WmiError : public std::runtime_error {
 public:
  WmiError(int32_t status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  int32_t Status() const { return status_; }

 private:
  int32_t status_;
};

constexpr int32_t kClassNotRegistered = static_cast<int32_t>(0x80040154u);

}  // namespace brevane::wmi
