#include "wmi/win32/com_locator.h"

#include <memory>

#include "framework/win32/com_bstr.h"
#include "framework/win32/encoding.h"
#include "util/text.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_security.h"
#include "wmi/win32/com_services.h"
#include "wmi/win32/wmi_connection.h"

namespace brevane::wmi::win32 {

namespace {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;

std::string HostName(const std::string& host) {
  std::string name = util::Trim(host);
  const size_t start = name.find_first_not_of("\\/");
  return start == std::string::npos ? std::string() : name.substr(start);
}

}  // namespace

std::wstring ConnectionPath(const std::string& host, const std::string& ns) {
  const std::string name = HostName(host);
  if (name.empty() || name == ".") return brevane::framework::win32::Utf8ToWide(ns);
  std::string path = "\\\\" + name + "\\";
  const size_t nsStart = ns.find_first_not_of('\\');
  if (nsStart != std::string::npos) path += ns.substr(nsStart);
  return brevane::framework::win32::Utf8ToWide(path);
}

ComLocator::ComLocator(ComRef<IWbemLocator> locator) : locator_(std::move(locator)) {}

std::unique_ptr<Services> ComLocator::ConnectServer(const std::string& host, const std::string& ns,
                                                    const std::string& user,
                                                    const std::string& password) {
  // An empty namespace names nothing, and some WMI implementations crash on a null one.
  if (util::Trim(ns).empty()) ThrowRefused(WBEM_E_INVALID_NAMESPACE);
  const std::string hostName = HostName(host);
  auto connection = std::make_shared<WmiConnection>(user, password, !IsLocalHost(hostName));

  const Bstr path(ConnectionPath(host, ns));
  Bstr wideUser;
  if (!user.empty()) wideUser = Bstr::FromUtf8(user);
  Bstr widePassword;
  if (!PasswordIsNull(user, password)) {
    std::wstring converted = brevane::framework::win32::Utf8ToWide(password);
    widePassword = Bstr::Secret(converted);
    SecureZeroMemory(converted.data(), converted.capacity() * sizeof(wchar_t));
  }

  ComRef<IWbemServices> services;
  ClearComErrorInfo();
  // USE_MAX_WAIT bounds the wait for an unreachable computer (otherwise the RPC timeout).
  ThrowIfFailed(locator_->ConnectServer(path.Get(), wideUser.Get(), widePassword.Get(), nullptr,
                                        WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr,
                                        services.Receive()));
  if (!services) ThrowRefused(WBEM_E_FAILED);
  connection->TakeServices(std::move(services));
  return std::make_unique<ComServices>(std::move(connection));
}

}  // namespace brevane::wmi::win32
