#include "wmi/query_stream.h"

#include <exception>
#include <memory>
#include <vector>

#include "wmi/item_stream.h"
#include "wmi/query_ops.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

namespace {

constexpr size_t kMaxObjectsWaiting = 1024;

}  // namespace

ResultTable ToTable(std::vector<ResultObject>&& objects) {
  ResultTable table;
  table.rows = static_cast<int>(objects.size());
  table.rowLengths.reserve(objects.size());
  for (auto& object : objects) {
    const int n = static_cast<int>(object.names.size());
    table.rowLengths.push_back(n);
    if (n > table.cols) table.cols = n;
    for (auto& name : object.names) table.columnNames.push_back(std::move(name));
    for (auto& value : object.values) table.values.push_back(std::move(value));
  }
  return table;
}

void RunQueryOn(RequestContext& context, const RegionalSettings& regional,
                const std::string& queryText, const QueryCallbacks& callbacks,
                const std::function<void()>& connected) {
  QueryEnd end;
  try {
    if (!context.Connected() && callbacks.connecting) context.Post(callbacks.connecting);
    Services& services = context.Connection();
    if (connected) context.Post(connected);
    auto set = services.ExecQuery(queryText, "WQL", kFlagSemisync);
    auto objects = set->NewEnum();
    // A small backlog: objects waiting for the UI thread are held twice while a batch becomes
    // a table, and the table's own storage grows meanwhile.
    ItemStream<ResultObject> stream(
        context,
        [rows = callbacks.rows](std::vector<ResultObject>&& batch) {
          rows(ToTable(std::move(batch)));
        },
        kMaxObjectsWaiting);
    // Asked to return at once, WMI reports an invalid class or query, a denied access or a
    // broken link from Next: before the first object that is the query's failure, later it
    // ends a result that is not complete. Either way the query fails, with what came so far.
    std::unique_ptr<Object> object;
    const std::stop_token stop = context.Stop();
    while (objects->Next(object, stop) && object) {
      ResultObject result;
      AppendObjectProperties(*object, regional, &result.names, &result.values);
      object.reset();
      if (!stream.Push(std::move(result))) return;
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
  } catch (...) {  // what no layer expects still ends the query, with a text
    context.ConnectionFailed(0);
    end.errorText = "Error: unexpected failure";
  }
  if (context.Stop().stop_requested()) return;  // a newer request replaced this one
  end.lastObject = std::chrono::steady_clock::now();
  context.Post([ended = callbacks.ended, end] { ended(end); });
}

void StartQuery(RequestWorker& worker, const ConnectionParams& conn,
                const RegionalSettings& regional, const std::string& queryText,
                QueryCallbacks callbacks, std::function<void()> connected) {
  worker.Start(conn, [regional, queryText, callbacks = std::move(callbacks),
                      connected = std::move(connected)](RequestContext& context) {
    RunQueryOn(context, regional, queryText, callbacks, connected);
  });
}

}  // namespace brevane::wmi
