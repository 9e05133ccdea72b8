#pragma once
// Walks a WMI object set once, forwards. Objects are fetched from WMI in batches (one round
// trip per batch, which is what makes big results fast, above all remotely) and handed out one
// by one; each wait for WMI is bounded, so a stop request is seen promptly.
#include <wbemidl.h>

#include <memory>
#include <vector>

#include "framework/com_ref.h"
#include "wmi/win32/wmi_connection.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

class ComObjectEnumerator final : public ObjectEnumerator {
 public:
  static constexpr ULONG kMaxBatch = 64;
  static constexpr long kWaitMilliseconds = 200;

  // enumerator must already carry the connection's security. waitMilliseconds bounds each wait
  // for WMI: a stop is seen that much later at most.
  ComObjectEnumerator(std::shared_ptr<const WmiConnection> connection,
                      framework::ComRef<IEnumWbemClassObject> enumerator,
                      long waitMilliseconds = kWaitMilliseconds);

  bool Next(std::unique_ptr<Object>& out, std::stop_token stop = {}) override;
  bool NextBefore(std::unique_ptr<Object>& out, std::stop_token stop,
                  std::chrono::steady_clock::time_point deadline) override;

 private:
  void FetchBatch(long waitMilliseconds);

  std::shared_ptr<const WmiConnection> connection_;
  framework::ComRef<IEnumWbemClassObject> enumerator_;
  std::vector<framework::ComRef<IWbemClassObject>> batch_;
  size_t nextInBatch_ = 0;
  // Starts at one, so that a caller who wants only the first object (does the class have any
  // instances?) does not pay for a whole batch, and doubles up to kMaxBatch.
  ULONG batchSize_ = 1;
  long waitMilliseconds_;
  bool finished_ = false;
};

}  // namespace brevane::wmi::win32
