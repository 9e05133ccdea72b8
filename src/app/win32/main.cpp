// Program entry: the main thread joins a single-threaded COM apartment, then runs the
// application against the WMI backend.
#include <windows.h>
#include <objbase.h>

#include <exception>
#include <memory>

#include "app/win32/application.h"
#include "wmi/wmi_error.h"

namespace {

// Until the COM backend is linked in: a platform without the WMI scripting objects.
class UnavailableBackend final : public brevane::wmi::Backend {
 public:
  std::unique_ptr<brevane::wmi::Locator> CreateLocator() override {
    throw brevane::wmi::WmiError(brevane::wmi::kClassNotRegistered, "Class not registered");
  }
  std::unique_ptr<brevane::wmi::ThreadScope> EnterThread() override {
    return std::make_unique<brevane::wmi::ThreadScope>();
  }
};

class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd) {
  try {
    ComApartment apartment;
    // HOOK (COM backend): process-wide COM security is set up here, before any WMI call.
    UnavailableBackend backend;
    return brevane::app::RunApplication(instance, showCmd, backend);
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), "Brevane", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"Unexpected failure", L"Brevane", MB_OK | MB_ICONERROR);
  }
  return 1;
}
