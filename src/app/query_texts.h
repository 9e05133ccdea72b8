#pragma once
// What status panel 2 says about a query: while it runs, when it ends and when it is stopped.
#include <string>

namespace brevane::app {

// "Query execution time: %1.4f sec", with the locale's decimal separator.
std::string QueryTimeText(long long milliseconds, const std::string& decimalSeparator);
// While objects stream in.
std::string QueryProgressText(int objects);
// After a stop, with the time the query ran.
std::string QueryStoppedText(long long milliseconds, int objects,
                             const std::string& decimalSeparator);
// While an event query runs: every event received so far.
std::string WatchingEventsText(long long events);
// After the stop of an event query.
std::string WatchStoppedText(long long milliseconds, long long events,
                             const std::string& decimalSeparator);
// While a worker connects to the host.
std::string ConnectingText(const std::string& host);

}  // namespace brevane::app
