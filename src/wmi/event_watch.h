#pragma once
// An event query on a worker: it runs with ExecNotificationQuery until stopped, each event
// reaching the UI thread as a row ("Time", then its properties, an embedded TargetInstance
// flattened) in batches as they come. Whether a query is an event query is decided on the
// worker, from the derivation of the class it selects: an event class derives from __Event.
// (WMI also refuses an ordinary query on an event class, but not with an error that says so
// everywhere, and a failed query would cost a round trip before the watch even starts.)
#include <functional>
#include <string>

#include "wmi/query_stream.h"
#include "wmi/regional_settings.h"
#include "wmi/request_worker.h"
#include "wmi/result_table.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

// All run on the UI thread, and only while the watch is the worker's current request.
struct EventWatchCallbacks {
  std::function<void()> watching;  // the query is an event query; the watch goes out
  std::function<void(ResultTable&& batch)> events;  // one row per event, in arrival order
  // The watch failed (from the start, or later: the rows delivered stay), or the platform
  // ended it. Never after a stop.
  std::function<void(const QueryEnd&)> ended;
};

// Worker thread: whether the query selects an event class. A class that cannot be read is
// taken for an ordinary one (the ordinary query then says what is wrong with it).
bool IsEventQueryOn(Services& services, const std::string& queryText);

// Worker thread: the watch itself, on the request's connection, until stopped.
void RunEventWatchOn(RequestContext& context, const RegionalSettings& regional,
                     const std::string& queryText, const EventWatchCallbacks& callbacks);

// UI thread: returns at once; the request before it on this worker is cancelled. An event
// query is watched; any other query runs as StartQuery runs it.
void StartQueryOrWatch(RequestWorker& worker, const ConnectionParams& conn,
                       const RegionalSettings& regional, const std::string& queryText,
                       QueryCallbacks query, EventWatchCallbacks watch);

}  // namespace brevane::wmi
