#pragma once
// Passwords are overwritten before their memory is given back, so that no copy outlives its use.
#include <string>

namespace brevane {

inline void WipeSecret(std::string& text) {
  volatile char* bytes = text.data();
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = 0;
  text.clear();
}

}  // namespace brevane
