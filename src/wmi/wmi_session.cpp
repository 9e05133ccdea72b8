#include "wmi/wmi_session.h"

#include "wmi/wmi_error.h"

namespace brevane::wmi {

std::unique_ptr<Services> ConnectWmi(Backend& backend, const std::string& host,
                                     const std::string& ns, const std::string& user,
                                     const std::string& password) {
  // The locator lives only for the connection call; the services keep what they need.
  auto locator = backend.CreateLocator();
  return locator->ConnectServer(host, ns, user, password);
}

bool NextEnumItem(ObjectEnumerator& enumerator, std::unique_ptr<Object>& item,
                  std::string& errorText, std::stop_token stop) {
  try {
    if (enumerator.Next(item, stop) && item) return true;
    item.reset();
    return false;
  } catch (const std::exception& e) {
    errorText = e.what();
    item.reset();
    return false;
  }
}

bool NextEnumItem(PropertyEnumerator& enumerator, Property& item, std::string& errorText) {
  try {
    return enumerator.Next(item);
  } catch (const std::exception& e) {
    errorText = e.what();
    return false;
  }
}

}  // namespace brevane::wmi
