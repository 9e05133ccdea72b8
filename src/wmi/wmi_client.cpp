#include "wmi/wmi_client.h"

#include <exception>

#include "util/secret.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

TWMI::TWMI(Backend& backend, RegionalSettings regional)
    : backend_(backend), regional_(std::move(regional)) {}

TWMI::~TWMI() {
  util::WipeSecret(Password);
}

void TWMI::SetHost(const std::string& host) {
  Host = host.empty() ? "." : host;
}

void TWMI::SetNamespace(const std::string& ns) {
  Namespace = ns.empty() ? "root\\cimv2" : ns;
}

bool TWMI::CheckLocator() {
  LastError.clear();
  try {
    backend_.CreateLocator();
    return true;
  } catch (const WmiError& e) {
    if (e.Status() == kClassNotRegistered) {
      LastError = std::string("Class \"ISWbemLocator\" is not registered on the system.\r\n") +
                  "Error code: " + std::to_string(e.Status()) + "\r\nError message: " + e.what();
    } else {
      LastError = e.what();
    }
  } catch (const std::exception& e) {
    LastError = e.what();
  }
  return false;
}

}  // namespace brevane::wmi
