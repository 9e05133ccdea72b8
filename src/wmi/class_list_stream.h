#pragma once
// The class list of a namespace on a worker: names reach the UI thread in batches as WMI
// enumerates them.
#include <functional>
#include <string>

#include "util/string_list.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {

// All run on the UI thread, and only while the listing is the worker's current request.
struct ClassListCallbacks {
  std::function<void()> connecting;  // the worker is about to connect; may be empty
  std::function<void()> connected;   // the connection stands; may be empty
  std::function<void(util::StringList&& names)> names;  // unsorted, in WMI's order
  // ok false: errorText is the failure's message (without prefix); the names already
  // delivered stay valid.
  std::function<void(bool ok, const std::string& errorText)> ended;
};

// UI thread: returns at once; the listing before it on this worker is cancelled.
// hideEmpty: leave out classes without instances; a failure while testing a class ends the
// testing quietly, and the classes after it are delivered untested.
void StartClassList(RequestWorker& worker, const ConnectionParams& conn, bool hideEmpty,
                    ClassListCallbacks callbacks);

}  // namespace brevane::wmi
