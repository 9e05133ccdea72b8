#include "wmi/class_list_stream.h"

#include <exception>
#include <memory>

#include "wmi/item_stream.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

namespace {

// Raises when the instance walk cannot be started; a class that cannot be listed at all
// counts as empty.
bool HasInstances(Services& services, const std::string& className, std::stop_token stop) {
  std::unique_ptr<ObjectSet> set;
  try {
    set = services.InstancesOf(className, kFlagSemisync);
  } catch (const std::exception&) {
    return false;
  }
  if (!set) return false;
  auto instances = set->NewEnum();
  std::unique_ptr<Object> instance;
  std::string scratch;
  return NextEnumItem(*instances, instance, scratch, stop) && instance;
}

void RunClassListRequest(RequestContext& context, bool hideEmpty,
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
          if (!HasInstances(services, name, stop)) continue;
        } catch (const std::exception&) {
          testing = false;
        }
      }
      if (!stream.Push(std::move(name))) return;
    }
    if (stop.stop_requested()) return;
  } catch (const std::exception& e) {
    context.DropConnection();
    ok = false;
    errorText = e.what();
  } catch (...) {  // what no layer expects still ends the listing, with a text
    context.DropConnection();
    ok = false;
    errorText = "unexpected failure";
  }
  context.Post([ended = callbacks.ended, ok, errorText] { ended(ok, errorText); });
}

}  // namespace

void StartClassList(RequestWorker& worker, const ConnectionParams& conn, bool hideEmpty,
                    ClassListCallbacks callbacks) {
  worker.Start(conn, [hideEmpty, callbacks = std::move(callbacks)](RequestContext& context) {
    RunClassListRequest(context, hideEmpty, callbacks);
  });
}

}  // namespace brevane::wmi
