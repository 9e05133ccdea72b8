// Program entry: the main thread joins a single-threaded COM apartment, sets the process's
// COM security once, then runs the application against the native WMI backend.
#include <windows.h>

#include <exception>
#include <memory>

#include "app/win32/application.h"
#include "framework/win32/com_apartment.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd) {
  try {
    brevane::win32::ComApartment apartment(COINIT_APARTMENTTHREADED);
    // Without COM the locator check at start-up reports the failure in the window.
    if (apartment.Usable()) brevane::wmi::win32::InitializeComSecurity();
    return brevane::app::RunApplication(instance, showCmd,
                                        std::make_shared<brevane::wmi::win32::ComBackend>());
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), "Brevane", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"Unexpected failure", L"Brevane", MB_OK | MB_ICONERROR);
  }
  return 1;
}
