#include "wmi/event_watch.h"

#include <chrono>
#include <exception>
#include <memory>
#include <vector>

#include "wmi/event_query.h"
#include "wmi/event_rows.h"
#include "wmi/item_stream.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

// Events the UI thread has not taken yet; beyond it the watch waits (and WMI queues them).
constexpr size_t kMaxEventsWaiting = 1024;

}  // namespace

bool IsEventQueryOn(Services& services, const std::string& queryText) {
  const auto className = SelectedClass(queryText);
  if (!className) return false;
  try {
    const ClassDefinition definition = services.GetClassDefinition(*className);
    return IsEventClass(definition.name.empty() ? *className : definition.name,
                        definition.derivation);
  } catch (const WmiError&) {
    return false;
  }
}

void RunEventWatchOn(RequestContext& context, const RegionalSettings& regional,
                     const std::string& queryText, const EventWatchCallbacks& callbacks) {
  QueryEnd end;
  try {
    Services& services = context.Connection();
    auto events = services.ExecNotificationQuery(queryText, "WQL");
    if (callbacks.watching) context.Post(callbacks.watching);
    ItemStream<ResultObject> stream(
        context,
        [deliver = callbacks.events](std::vector<ResultObject>&& batch) {
          deliver(ToTable(std::move(batch)));
        },
        kMaxEventsWaiting);
    const std::stop_token stop = context.Stop();
    std::unique_ptr<Object> event;
    // Next waits in short slices, so a stop is seen soon even when no event comes.
    while (events->Next(event, stop) && event) {
      ResultObject row;
      AppendEventRow(*event, regional, EventTimeText(std::chrono::system_clock::now()), row.names,
                     row.values);
      event.reset();
      if (!stream.Push(std::move(row))) return;
      ++end.rows;
    }
    if (stop.stop_requested()) return;
    end.ok = true;
  } catch (const WmiError& e) {
    context.ConnectionFailed(e.Status());
    end.errorText = std::string("Error: ") + e.what();
  } catch (const std::exception& e) {
    context.ConnectionFailed(0);
    end.errorText = std::string("Error: ") + e.what();
  } catch (...) {  // what no layer expects still ends the watch, with a text
    context.ConnectionFailed(0);
    end.errorText = "Error: unexpected failure";
  }
  if (context.Stop().stop_requested()) return;
  end.lastObject = std::chrono::steady_clock::now();
  context.Post([ended = callbacks.ended, end] { ended(end); });
}

void StartQueryOrWatch(RequestWorker& worker, const ConnectionParams& conn,
                       const RegionalSettings& regional, const std::string& queryText,
                       QueryCallbacks query, EventWatchCallbacks watch) {
  worker.Start(conn, [regional, queryText, query = std::move(query),
                      watch = std::move(watch)](RequestContext& context) {
    // Connecting fails the query as a query would fail, without a second attempt.
    std::string failure;
    bool isEvent = false;
    try {
      if (!context.Connected() && query.connecting) context.Post(query.connecting);
      isEvent = IsEventQueryOn(context.Connection(), queryText);
    } catch (const WmiError& e) {
      context.ConnectionFailed(e.Status());
      failure = e.what();
    } catch (const std::exception& e) {
      context.ConnectionFailed(0);
      failure = e.what();
    } catch (...) {
      context.ConnectionFailed(0);
      failure = "unexpected failure";
    }
    if (context.Stop().stop_requested()) return;
    if (!failure.empty()) {
      QueryEnd end;
      end.errorText = "Error: " + failure;
      end.lastObject = std::chrono::steady_clock::now();
      context.Post([ended = query.ended, end] { ended(end); });
      return;
    }
    if (isEvent) {
      RunEventWatchOn(context, regional, queryText, watch);
    } else {
      RunQueryOn(context, regional, queryText, query, {});
    }
  });
}

}  // namespace brevane::wmi
