#include "wmi/win32/com_backend.h"

#include <wbemidl.h>

#include "framework/com_ref.h"
#include "framework/win32/com_apartment.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_locator.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi::win32 {

namespace {

class ComThreadScope final : public ThreadScope {
 public:
  ComThreadScope() {
    if (!apartment_.Usable()) {
      throw WmiError(apartment_.Result(), SystemFailureText(apartment_.Result()));
    }
  }

 private:
  brevane::framework::win32::ComApartment apartment_{COINIT_MULTITHREADED};
};

}  // namespace

std::unique_ptr<Locator> ComBackend::CreateLocator() {
  framework::ComRef<IWbemLocator> locator;
  const HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IWbemLocator), locator.ReceiveVoid());
  if (FAILED(hr) || !locator) {
    const HRESULT status = FAILED(hr) ? hr : E_NOINTERFACE;
    throw WmiError(status, SystemFailureText(status));
  }
  return std::make_unique<ComLocator>(std::move(locator));
}

std::unique_ptr<ThreadScope> ComBackend::EnterThread() {
  return std::make_unique<ComThreadScope>();
}

}  // namespace brevane::wmi::win32
