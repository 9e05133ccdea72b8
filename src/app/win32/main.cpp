// Program entry: the main thread joins a single-threaded COM apartment, sets up COM security,
// then runs the application against the WMI COM backend.
#include <windows.h>

#include <exception>
#include <string>

#include "app/win32/application.h"
#include "framework/win32/com_apartment.h"
#include "framework/win32/encoding.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd) {
  try {
    brevane::framework::win32::ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.Usable()) {
      MessageBoxW(nullptr, L"COM could not be initialised.", L"Brevane", MB_OK | MB_ICONERROR);
      return 1;
    }
    // Not fatal: without it, WMI may refuse some requests, which they then report themselves.
    brevane::wmi::win32::InitializeComSecurity();
    return brevane::app::win32::RunApplication(instance, showCmd,
                                               std::make_shared<brevane::wmi::win32::ComBackend>());
  } catch (const std::exception& error) {
    const std::wstring text = brevane::framework::win32::Utf8ToWide(error.what());
    MessageBoxW(nullptr, text.c_str(), L"Brevane", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"Unexpected failure", L"Brevane", MB_OK | MB_ICONERROR);
  }
  return 1;
}
