#pragma once
// A method call on a worker, and the text of its result. The call cannot be interrupted once
// sent: a cancel or a newer request only drops its answer, the worker thread stays busy until
// WMI returns (and is retired by the worker if that takes long).
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "wmi/class_definition.h"
#include "wmi/query_ops.h"
#include "wmi/regional_settings.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

struct MethodCallRequest {
  std::string objectPath;  // an instance's relative path, or the class name for a static method
  std::string method;
  std::vector<MethodArgument> arguments;
};

struct MethodCallAnswer {
  bool ok = false;
  bool returnedNothing = false;   // the method gave no out-parameters object
  bool gone = false;              // WMI no longer finds the instance
  std::vector<Property> outputs;  // ReturnValue and the out-parameters, in the object's order
  std::string errorText;          // WMI's text of the failure
  std::chrono::milliseconds elapsed{0};  // the call alone, connection excluded
};

// Out-parameters read from an answer at most; a provider cannot flood the dialog.
inline constexpr size_t kMaxMethodOutputs = 1000;

struct MethodListAnswer {
  bool ok = false;
  ClassDefinition definition;  // the class's methods with their parameters and qualifiers
  std::string errorText;       // WMI's text of the failure
};

// UI thread: reads the class's definition for the method dialog; `done` as below.
void StartMethodList(RequestWorker& worker, const ConnectionParams& conn,
                     const std::string& className, std::function<void(MethodListAnswer&&)> done);

// UI thread: returns at once; the call before on this worker is dropped. `done` runs on the
// UI thread unless a newer request or a cancel replaced this one.
void StartMethodCall(RequestWorker& worker, const ConnectionParams& conn, MethodCallRequest request,
                     std::function<void(MethodCallAnswer&&)> done);

// The result as the dialog shows it, CR LF between lines: "ReturnValue: 10 = Service Already
// Running" (the meaning from the method's ValueMap/Values), then each out-parameter with its
// value (and meaning, where its own qualifiers give one). A failure is WMI's text.
std::string MethodResultText(const MethodDefinition& method, const MethodCallAnswer& answer,
                             const RegionalSettings& regional);

}  // namespace brevane::wmi
