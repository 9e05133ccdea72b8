#pragma once
// Methods for the fake WMI: a handler per class and method, which gets the typed values the
// caller sent and answers with ReturnValue and out-parameters, or raises WMI's failure. Every
// call that reaches a handler is recorded, so a test sees exactly what was sent.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "wmi/wmi_api.h"

namespace brevane::testing {

class FakeWmi;

struct FakeMethodCall {
  std::string nameSpace;
  std::string className;   // the class the handler was found for
  std::string objectPath;  // as the caller gave it
  std::string method;
  bool onClass = false;  // called on the class (a static method), not on an instance
  std::vector<wmi::MethodArgument> arguments;
};

// ReturnValue first, then the out-parameters. Raise wmi::WmiError to fail the call.
using FakeMethodHandler = std::function<std::vector<wmi::Property>(const FakeMethodCall& call)>;

class FakeMethodTable {
 public:
  // isStatic: called on the class; otherwise on an instance only.
  void Register(const std::string& nameSpace, const std::string& className,
                const std::string& method, bool isStatic, FakeMethodHandler handler);
  // Runs the handler of the first class of `lineage` (the class, then its superclasses) that
  // has the method; raises "Invalid method" when none has, "Invalid operation" when a static
  // method is called on an instance or an instance method on the class.
  std::vector<wmi::Property> Call(FakeMethodCall call, const std::vector<std::string>& lineage);
  std::vector<FakeMethodCall> Calls() const;

 private:
  struct Entry {
    std::string nameSpace;
    std::string className;
    std::string method;
    bool isStatic = false;
    FakeMethodHandler handler;
  };
  mutable std::mutex lock_;
  std::vector<Entry> entries_;
  std::vector<FakeMethodCall> calls_;
};

// The handlers of Brevane_Service (fake_object_world.h): StartService, StopService and
// ChangeStartMode change the instance and answer with the class's return codes; the static
// Create adds a service. Also a class Brevane_Sampler whose static Echo takes one parameter of
// each kind an editor exists for and answers with what it received, typed, as out-parameters.
void AddObjectWorldMethods(FakeWmi& fake);

// The received arguments as one line: "Name=<cim type> <value>; ..." (arrays in brackets).
std::string DescribeArguments(const std::vector<wmi::MethodArgument>& arguments);

}  // namespace brevane::testing
