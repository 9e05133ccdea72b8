#pragma once
// ComApartment: joins the calling thread to a COM apartment and leaves it when destroyed.
// Bound to the thread that made it: neither copied nor moved.
#include <windows.h>
#include <objbase.h>

namespace brevane::framework::win32 {

class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
      : result_(CoInitializeEx(nullptr, model)) {}
  ~ComApartment() {
    if (Joined()) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // S_OK or S_FALSE (already a member of that apartment, counted again); RPC_E_CHANGED_MODE when
  // the thread is in the other apartment kind, which leaves it usable for COM all the same.
  HRESULT Result() const { return result_; }
  bool Joined() const { return SUCCEEDED(result_); }
  bool Usable() const { return Joined() || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace brevane::framework::win32
