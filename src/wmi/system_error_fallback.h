#pragma once
// The parts of SystemErrorText that do not need the system: tidying the system's message and
// the text used when it has none.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevane::wmi {

// System messages end with a line break; blanks and control characters at both ends go.
std::string TidySystemMessage(std::string_view message);

// "Cannot retrieve error description (error #<code>)", the code as a signed decimal.
std::string SystemErrorFallback(int32_t code);

}  // namespace brevane::wmi
