#pragma once
// ComBackend: the WMI backend of the real program, over the native WMI COM API.
//
// The program entry sets COM up once, on the main thread, before it makes the backend:
//
//   brevane::framework::win32::ComApartment apartment(COINIT_APARTMENTTHREADED);  //
//   com_apartment.h if (!apartment.Usable()) { /* report apartment.Result() and stop */ }
//   brevane::wmi::win32::InitializeComSecurity();  // com_security.h; a failure is not fatal
//   brevane::wmi::win32::ComBackend backend;
//   ... run the program; every WMI object is released before `apartment` leaves scope ...
//
// Any other thread that uses the backend calls EnterThread() first and keeps the returned scope
// until it has released every WMI object it made. WMI objects stay with the thread that made
// them and are never handed to another thread; a thread opens its own connection.
#include <memory>

#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

class ComBackend final : public Backend {
 public:
  ComBackend() = default;

  // Throws WmiError(status, the system's text for it), kClassNotRegistered when WMI is missing.
  std::unique_ptr<Locator> CreateLocator() override;
  // Joins the multi-threaded apartment; leaves it when the scope is destroyed, on this thread.
  // Workers pump no messages, which a single-threaded apartment would need; nothing the backend
  // calls (the locator, the status texts, proxy security, error objects) needs one. A thread
  // already in a single-threaded apartment stays there (WMI works in both).
  // Throws WmiError when COM cannot be initialised.
  std::unique_ptr<ThreadScope> EnterThread() override;
};

}  // namespace brevane::wmi::win32
