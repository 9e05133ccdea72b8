#pragma once
// Passwords are overwritten before their memory is given back, so that no copy outlives its use.
#include <string>

namespace brevane::util {

// Wipes the whole buffer, not only the current text: a shorter text assigned over a longer
// one, or a short text moved away, leaves characters behind the end.
inline void WipeSecret(std::string& text) {
  text.resize(text.capacity());  // no reallocation; brings the tail into reach
  volatile char* bytes = text.data();
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = 0;
  text.clear();
}

}  // namespace brevane::util
