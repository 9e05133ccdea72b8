#include "wmi/class_list_stream.h"

#include <chrono>
#include <exception>
#include <memory>

#include "util/text.h"
#include "wmi/item_stream.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

// Providers whose instances must never be listed just to see whether there are any: the
// installer's product class checks (and may repair) every installed product, and the file
// classes walk whole disks. They stay in the list untested.
const char* const kNeverEnumerated[] = {
    "Win32_Product",
    "Win32_ReliabilityRecords",
    "Win32_ReliabilityStabilityMetrics",
    "CIM_LogicalFile",
    "CIM_DataFile",
    "CIM_Directory",
    "Win32_Directory",
    "Win32_ShortcutFile",
    "Win32_CodecFile",
    "Win32_NTEventlogFile",
};

// False when the class has no instances, or refuses to say: the first path of a query that
// asks for paths alone, waited for at most `wait`. A class that does not answer in time, or is
// costly to ask, stays in the list. Raises when the walk cannot be made at all.
bool MayHaveInstances(Services& services, const std::string& className,
                      std::chrono::milliseconds wait, std::stop_token stop) {
  const std::string lower = util::AsciiLower(className);
  for (const char* never : kNeverEnumerated) {
    if (lower == util::AsciiLower(never)) return true;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::unique_ptr<ObjectSet> set;
  try {
    set = services.ExecQuery("SELECT __RELPATH FROM " + className, "WQL", kFlagSemisync);
  } catch (const std::exception&) {
    return false;
  }
  auto instances = set->NewEnum();
  std::unique_ptr<Object> instance;
  try {
    if (instances->NextBefore(instance, stop, deadline) && instance) return true;
  } catch (const std::exception&) {
    return false;
  }
  return std::chrono::steady_clock::now() >= deadline && !stop.stop_requested();
}

void RunClassListRequest(RequestContext& context, bool hideEmpty,
                         std::chrono::milliseconds firstInstanceWait,
                         const ClassListCallbacks& callbacks) {
  bool ok = true;
  std::string errorText;
  try {
    if (!context.Connected() && callbacks.connecting) context.Post(callbacks.connecting);
    Services& services = context.Connection();
    if (callbacks.connected) context.Post(callbacks.connected);
    auto set = services.SubclassesOf("", kFlagSemisync);
    auto classes = set->NewEnum();
    ItemStream<std::string> stream(
        context,
        [names = callbacks.names](std::vector<std::string>&& batch) { names(std::move(batch)); });
    bool testing = hideEmpty;
    std::unique_ptr<Object> classObject;
    const std::stop_token stop = context.Stop();
    while (classes->Next(classObject, stop) && classObject) {
      std::string name = classObject->ClassName();
      classObject.reset();
      if (testing) {
        try {
          if (!MayHaveInstances(services, name, firstInstanceWait, stop)) continue;
        } catch (const std::exception&) {
          testing = false;  // the classes after it are delivered untested
        }
      }
      if (!stream.Push(std::move(name))) return;
    }
    if (stop.stop_requested()) return;
  } catch (const WmiError& e) {
    context.ConnectionFailed(e.Status());
    ok = false;
    errorText = e.what();
  } catch (const std::exception& e) {
    context.ConnectionFailed(0);
    ok = false;
    errorText = e.what();
  } catch (...) {  // what no layer expects still ends the listing, with a text
    context.ConnectionFailed(0);
    ok = false;
    errorText = "unexpected failure";
  }
  context.Post([ended = callbacks.ended, ok, errorText] { ended(ok, errorText); });
}

}  // namespace

void StartClassList(RequestWorker& worker, const ConnectionParams& conn, bool hideEmpty,
                    ClassListCallbacks callbacks, std::chrono::milliseconds firstInstanceWait) {
  worker.Start(conn, [hideEmpty, firstInstanceWait,
                      callbacks = std::move(callbacks)](RequestContext& context) {
    RunClassListRequest(context, hideEmpty, firstInstanceWait, callbacks);
  });
}

}  // namespace brevane::wmi
