#include "wmi/namespace_children.h"

#include <exception>
#include <memory>
#include <utility>

#include "wmi/namespace_path.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

constexpr int32_t kInvalidClass = static_cast<int32_t>(0x80041010u);
constexpr const char* kNamespaceClass = "__NAMESPACE";

std::string MessageOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unexpected failure";
  }
}

// Whether the child opens and has children of its own; a child that opens but cannot be
// asked stays "maybe".
void Probe(Locator& locator, const ConnectionParams& parent, NamespaceChildInfo& child,
           std::stop_token stop) {
  std::unique_ptr<Services> services;
  try {
    services = locator.ConnectServer(parent.host, ChildNamespace(parent.ns, child.name),
                                     parent.user, parent.password);
  } catch (...) {
    child.probed = true;
    child.refused = true;
    child.error = MessageOf(std::current_exception());
    return;
  }
  try {
    child.hasChildren = !ChildNamespaceNames(*services, stop, 1).empty();
    child.probed = !stop.stop_requested();
  } catch (...) {
    // Unknown: the node keeps its expand button and finds out when opened.
  }
}

void ProbeChildren(RequestContext& context, const ConnectionParams& conn,
                   std::vector<NamespaceChildInfo>& children, std::chrono::milliseconds budget) {
  if (children.empty()) return;
  const auto until = std::chrono::steady_clock::now() + budget;
  std::unique_ptr<Locator> locator;
  try {
    locator = context.WmiBackend().CreateLocator();
  } catch (...) {
    return;  // the children stay "maybe"
  }
  const std::stop_token stop = context.Stop();
  size_t probed = 0;
  for (NamespaceChildInfo& child : children) {
    if (stop.stop_requested() || probed++ >= kMaxProbedChildren ||
        std::chrono::steady_clock::now() >= until)
      break;
    Probe(*locator, conn, child, stop);
  }
}

}  // namespace

std::vector<std::string> ChildNamespaceNames(Services& services, std::stop_token stop,
                                             size_t limit) {
  std::vector<std::string> names;
  std::unique_ptr<ObjectEnumerator> walk;
  try {
    walk = services.InstancesOf(kNamespaceClass, kFlagSemisync)->NewEnum();
    std::unique_ptr<Object> instance;
    while (names.size() < limit && walk->Next(instance, stop) && instance) {
      const Value name = instance->PropertyValue("Name");
      instance.reset();
      if (name.type == kVtBstr && UsableChildName(name.text)) names.push_back(name.text);
    }
  } catch (const WmiError& e) {
    // A namespace without the class (WMI's that do not know it) has no children to show.
    if (e.Status() != kInvalidClass) throw;
  }
  return names;
}

void StartNamespaceChildren(RequestWorker& worker, const ConnectionParams& conn,
                            std::function<void(NamespaceChildrenAnswer&&)> done,
                            std::chrono::milliseconds probeBudget) {
  worker.Start(conn, [conn, probeBudget, done = std::move(done)](RequestContext& context) {
    NamespaceChildrenAnswer answer;
    Services* services = nullptr;
    try {
      services = &context.Connection();
    } catch (...) {
      context.ConnectionFailed(0);
      answer.refused = true;
      answer.error = MessageOf(std::current_exception());
    }
    if (services) {
      try {
        for (auto& name : ChildNamespaceNames(*services, context.Stop())) {
          NamespaceChildInfo child;
          child.name = std::move(name);
          answer.children.push_back(std::move(child));
        }
        answer.ok = true;
      } catch (const WmiError& e) {
        context.ConnectionFailed(e.Status());
        answer.error = e.what();
      } catch (...) {
        context.ConnectionFailed(0);
        answer.error = MessageOf(std::current_exception());
      }
    }
    if (answer.ok) ProbeChildren(context, conn, answer.children, probeBudget);
    if (context.Stop().stop_requested()) return;  // a newer listing replaced this one
    context.Post([done, answer = std::move(answer)]() mutable { done(std::move(answer)); });
  });
}

}  // namespace brevane::wmi
