#pragma once
// WmiClient: the window's connection parameters, the regional settings its values are read with,
// and the check at start-up that WMI can be reached at all. The requests themselves run on
// workers (request_worker.h) and in query_ops.h.
#include <string>

#include "wmi/regional_settings.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

class WmiClient {
 public:
  WmiClient(Backend& backend, RegionalSettings regional);
  ~WmiClient();
  WmiClient(const WmiClient&) = delete;
  WmiClient& operator=(const WmiClient&) = delete;

  std::string Host = ".";
  std::string Namespace = "root\\cimv2";
  std::string User;
  std::string Password;
  std::string LastError;

  void SetHost(const std::string& host);     // empty gives "."
  void SetNamespace(const std::string& ns);  // empty gives "root\cimv2"
  // False, with the reason in LastError, when no locator can be made.
  bool CheckLocator();

  const RegionalSettings& Regional() const { return regional_; }

 private:
  Backend& backend_;
  RegionalSettings regional_;
};

}  // namespace brevane::wmi
