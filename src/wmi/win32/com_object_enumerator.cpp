#include "wmi/win32/com_object_enumerator.h"

#include <algorithm>
#include <array>

#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_object.h"

namespace brevane::wmi::win32 {

using brevane::framework::ComRef;

ComObjectEnumerator::ComObjectEnumerator(std::shared_ptr<const WmiConnection> connection,
                                         ComRef<IEnumWbemClassObject> enumerator,
                                         long waitMilliseconds)
    : connection_(std::move(connection)),
      enumerator_(std::move(enumerator)),
      waitMilliseconds_(waitMilliseconds) {
  batch_.reserve(kMaxBatch);
}

bool ComObjectEnumerator::Next(std::unique_ptr<Object>& out, std::stop_token stop) {
  return NextBefore(out, std::move(stop), std::chrono::steady_clock::time_point::max());
}

bool ComObjectEnumerator::NextBefore(std::unique_ptr<Object>& out, std::stop_token stop,
                                     std::chrono::steady_clock::time_point deadline) {
  out.reset();
  for (;;) {
    if (stop.stop_requested()) return false;
    if (nextInBatch_ < batch_.size()) {
      out = std::make_unique<ComObject>(connection_, std::move(batch_[nextInBatch_++]));
      return true;
    }
    if (finished_) return false;
    long wait = waitMilliseconds_;
    if (deadline != std::chrono::steady_clock::time_point::max()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      wait = static_cast<long>(std::min<long long>(left.count(), waitMilliseconds_));
    }
    FetchBatch(wait);
  }
}

void ComObjectEnumerator::FetchBatch(long waitMilliseconds) {
  batch_.clear();
  nextInBatch_ = 0;
  std::array<IWbemClassObject*, kMaxBatch> fetched{};
  ULONG returned = 0;
  ClearComErrorInfo();
  const HRESULT hr = enumerator_->Next(waitMilliseconds, batchSize_, fetched.data(), &returned);
  // Take ownership of whatever came back before looking at the status, so nothing leaks.
  returned = std::min(returned, batchSize_);
  for (ULONG i = 0; i < returned; ++i) {
    // Next hands each object over with a reference that is now ours.
    auto object = ComRef<IWbemClassObject>::Take(fetched[i]);
    if (object) batch_.push_back(std::move(object));
  }
  if (FAILED(hr)) {
    finished_ = true;
    batch_.clear();
    ThrowComFailure(hr);
  }
  // WBEM_S_TIMEDOUT: more may come, ask again (after a look at the stop request).
  if (hr == WBEM_S_FALSE) finished_ = true;
  if (returned == batchSize_) batchSize_ = std::min(batchSize_ * 2, kMaxBatch);
}

}  // namespace brevane::wmi::win32
