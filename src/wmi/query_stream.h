#pragma once
// A WQL query on a worker: the result objects reach the UI thread in batches while the query
// runs, so that the table can grow as they come.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "wmi/regional_settings.h"
#include "wmi/request_worker.h"
#include "wmi/result_table.h"

namespace brevane::wmi {

struct QueryEnd {
  bool ok = false;
  // On failure: "Error: " + the failure's message. A failure after some objects fails the
  // query too: the rows delivered stay, but they are not the whole result.
  std::string errorText;
  int rows = 0;
  // When the last object arrived (or the query failed): the query's time runs up to here.
  std::chrono::steady_clock::time_point lastObject;
};

// All run on the UI thread, and only while the query is the worker's current request.
struct QueryCallbacks {
  std::function<void()> connecting;  // the worker is about to connect; may be empty
  // Objects in the order the query yields them, in the layout of RunQuery.
  std::function<void(ResultTable&& batch)> rows;
  std::function<void(const QueryEnd&)> ended;
};

// One object of a result as it streams: its property names and their values' texts.
struct ResultObject {
  util::StringList names;
  util::StringList values;
};
// The objects as a table (moved, not copied).
ResultTable ToTable(std::vector<ResultObject>&& objects);

// UI thread: returns at once; the query before it on this worker is cancelled. The objects
// are those of RunQuery (the same texts, the same failure rules), fetched forward-only.
// connected, when given, runs once the connection stands and the query goes out.
void StartQuery(RequestWorker& worker, const ConnectionParams& conn,
                const RegionalSettings& regional, const std::string& queryText,
                QueryCallbacks callbacks, std::function<void()> connected = {});
// The request of StartQuery itself, on its worker thread: for a request that decides there
// what to run.
void RunQueryOn(RequestContext& context, const RegionalSettings& regional,
                const std::string& queryText, const QueryCallbacks& callbacks,
                const std::function<void()>& connected);

}  // namespace brevane::wmi
