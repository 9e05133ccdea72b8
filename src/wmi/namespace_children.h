#pragma once
// The children of one namespace on a worker: the Names of the __NAMESPACE instances in it,
// each child looked into briefly (does it open, has it children of its own) so that the tree
// can grey a refusing one and drop the expand button of a leaf before the user opens it.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wmi/query_ops.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {

struct NamespaceChildInfo {
  std::string name;
  bool probed = false;      // the fields below are known
  bool hasChildren = true;  // unknown counts as maybe
  bool refused = false;     // connecting to it failed
  std::string error;        // why
};

struct NamespaceChildrenAnswer {
  bool ok = false;
  bool refused = false;                      // the namespace itself could not be opened
  std::string error;                         // the failure's message, without prefix
  std::vector<NamespaceChildInfo> children;  // in WMI's order
};

// A namespace lists at most this many children; the rest are a broken or hostile provider.
constexpr size_t kMaxListedChildren = 10000;
// Children are looked into for at most this long in all, and at most this many of them;
// the rest stay "maybe", to be found out when opened.
constexpr std::chrono::milliseconds kChildProbeBudget{2000};
constexpr size_t kMaxProbedChildren = 64;

// The Names of the __NAMESPACE instances on an open connection, at most `limit`. A namespace
// whose __NAMESPACE class is unknown has none. Raises WmiError.
std::vector<std::string> ChildNamespaceNames(Services& services, std::stop_token stop,
                                             size_t limit = kMaxListedChildren);

// UI thread; returns at once. conn.ns is the namespace whose children are wanted; the
// listing before it on this worker is cancelled. done runs on the UI thread, only while this
// listing is the worker's current request.
void StartNamespaceChildren(RequestWorker& worker, const ConnectionParams& conn,
                            std::function<void(NamespaceChildrenAnswer&&)> done,
                            std::chrono::milliseconds probeBudget = kChildProbeBudget);

}  // namespace brevane::wmi
