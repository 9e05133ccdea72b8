#pragma once
// The class list of a namespace on a worker: names reach the UI thread in batches as WMI
// enumerates them.
#include <chrono>
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

// How long the test of one class for instances waits for the first one.
constexpr std::chrono::milliseconds kFirstInstanceWait{1500};

// UI thread: returns at once; the listing before it on this worker is cancelled.
// hideEmpty: leave out classes without instances. Each class is asked for the path of its
// first instance only, never enumerated; a class that does not answer within
// firstInstanceWait, or is known to be costly to ask, stays in the list. A failure of a class
// counts as no instances; one that keeps the test from starting ends the testing quietly,
// and the classes after it are delivered untested.
void StartClassList(RequestWorker& worker, const ConnectionParams& conn, bool hideEmpty,
                    ClassListCallbacks callbacks,
                    std::chrono::milliseconds firstInstanceWait = kFirstInstanceWait);

}  // namespace brevane::wmi
