#pragma once
// One object's properties on a worker: the property names of a class, or the names and
// values of one instance, fetched by its relative path. Both go through the same worker, so
// the user's latest choice wins: an answer to an earlier one is dropped. An instance chosen
// before its class's answer arrived brings the class's property types along when asked.
#include <functional>
#include <string>

#include "util/string_list.h"
#include "wmi/query_ops.h"
#include "wmi/regional_settings.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {

struct PropertyListing {
  bool ok = false;
  // The instance no longer exists (it was fetched by its path and WMI did not find it).
  bool gone = false;
  util::StringList names;
  util::StringList values;  // empty for a class
  // For a class, and for an instance fetched withClassTypes: each property's type and key
  // mark (for an instance, empty when the class definition could not be read).
  std::vector<PropertyType> types;
  // On failure: for a class the failure's message; for an instance "Error: " + the message,
  // or, when it is gone, WMI's own text without prefix.
  std::string errorText;
  // For an instance fetched by its path: the name its computer writes in paths (__SERVER).
  std::string server;
};

using ListingCallback = std::function<void(PropertyListing&& listing)>;

// UI thread: return at once; the fetch before on this worker is cancelled. `done` runs on the
// UI thread with the answer unless a newer fetch replaced this one.
void StartClassProperties(RequestWorker& worker, const ConnectionParams& conn,
                          const std::string& className, ListingCallback done);
// path: the instance's relative path; when empty (the class has no key), the instance is found
// by its position in the class's enumeration instead. withClassTypes: the caller has no types
// for the class (its class answer was replaced by this fetch), so the answer lists them too.
void StartInstanceFetch(RequestWorker& worker, const ConnectionParams& conn,
                        const RegionalSettings& regional, const std::string& className,
                        const std::string& path, int position, ListingCallback done,
                        bool withClassTypes = false);

}  // namespace brevane::wmi
