#include "wmi/system_error_fallback.h"

#include "util/text.h"

namespace brevane::wmi {

std::string TidySystemMessage(std::string_view message) {
  return util::Trim(message);
}

std::string SystemErrorFallback(int32_t code) {
  return "Cannot retrieve error description (error #" + std::to_string(code) + ")";
}

}  // namespace brevane::wmi
