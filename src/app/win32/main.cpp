// Program entry: the main thread joins a single-threaded COM apartment, sets up COM security,
// then runs the application against the WMI COM backend.
#include <windows.h>

#include <exception>
#include <string>

#include "app/win32/application.h"
#include "framework/win32/com_apartment.h"
#include "framework/win32/message_box.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd) {
  try {
    brevane::framework::win32::ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.Usable()) {
      brevane::framework::win32::ShowMessageBox(nullptr, "COM could not be initialised.",
                                                MB_OK | MB_ICONERROR);
      return 1;
    }
    // Not fatal: without it, WMI may refuse some requests, which they then report themselves.
    brevane::wmi::win32::InitializeComSecurity();
    return brevane::app::win32::RunApplication(instance, showCmd,
                                               std::make_shared<brevane::wmi::win32::ComBackend>());
  } catch (const std::exception& error) {
    brevane::framework::win32::ShowMessageBox(nullptr, error.what(), MB_OK | MB_ICONERROR);
  } catch (...) {
    brevane::framework::win32::ShowMessageBox(nullptr, "Unexpected failure", MB_OK | MB_ICONERROR);
  }
  return 1;
}
