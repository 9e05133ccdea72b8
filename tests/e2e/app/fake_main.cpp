// The program built against the in-memory fake backend, for end-to-end tests. The world it
// shows is chosen with the environment variable BREVANE_FAKE_SCENARIO (see fake_scenarios.h).
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "app/win32/application.h"
#include "framework/win32/com_apartment.h"
#include "framework/win32/message_box.h"
#include "support/fake_scenarios.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd) {
  brevane::framework::win32::ComApartment apartment(COINIT_APARTMENTTHREADED);
  int exitCode = 1;
  try {
    const char* scenario = std::getenv("BREVANE_FAKE_SCENARIO");
    exitCode = brevane::app::win32::RunApplication(
        instance, showCmd, brevane::testing::MakeScenario(scenario ? scenario : "standard"));
  } catch (const std::exception& error) {
    brevane::framework::win32::ShowMessageBox(nullptr, error.what(), MB_OK | MB_ICONERROR);
  }
  return exitCode;
}
