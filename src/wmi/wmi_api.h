#pragma once
// The WMI operations the program uses, as an abstract interface: the COM backend implements
// it over the native WMI API, the fake backend in memory for the tests. Every call raises
// WmiError on a failing status; text crosses as UTF-8.
#include <chrono>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "wmi/class_definition.h"
#include "wmi/parameter_input.h"
#include "wmi/value.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

constexpr int32_t kFlagReturnImmediately = 16;
constexpr int32_t kFlagForwardOnly = 32;
constexpr int32_t kFlagSemisync = kFlagReturnImmediately | kFlagForwardOnly;  // 48
// What a backend raises for an operation it does not offer (WBEM_E_NOT_SUPPORTED).
constexpr int32_t kStatusNotSupported = static_cast<int32_t>(0x8004100Cu);

struct Property {
  std::string name;
  Value value;
};

// What a class definition's qualifiers say of one of its properties.
struct PropertyQualifiers {
  bool key = false;         // the "key" qualifier
  std::string objectClass;  // the class that the "CIMTYPE" qualifier of an embedded object or a
                            // reference names ("object:Win32_Foo" gives "Win32_Foo")
};

// Walks an object's properties in the object's own, stable order (non-system properties).
class PropertyEnumerator {
 public:
  virtual ~PropertyEnumerator() = default;
  // True when a property was fetched; false at the end or on a failing status.
  // Throws WmiError when fetching raises a failure.
  virtual bool Next(Property& out) = 0;
};

class Object;

// Walks an object set once, forwards.
class ObjectEnumerator {
 public:
  virtual ~ObjectEnumerator() = default;
  // True when an object was fetched; false at the end, on a failing status, or when stop was
  // requested while waiting. Throws WmiError when fetching raises a failure.
  virtual bool Next(std::unique_ptr<Object>& out, std::stop_token stop = {}) = 0;
  // The same with a time limit: false also when `deadline` passes before an object comes.
  virtual bool NextBefore(std::unique_ptr<Object>& out, std::stop_token stop,
                          std::chrono::steady_clock::time_point deadline) {
    (void)deadline;
    return Next(out, std::move(stop));
  }
};

class ObjectSet {
 public:
  virtual ~ObjectSet() = default;
  virtual std::unique_ptr<ObjectEnumerator> NewEnum() = 0;
};

class Object {
 public:
  virtual ~Object() = default;
  virtual std::string ClassName() = 0;                           // Path_.Class
  virtual std::unique_ptr<PropertyEnumerator> Properties() = 0;  // Properties_
  virtual Value PropertyValue(const std::string& name) = 0;      // Properties_.Item(name, 0).Value
  virtual std::unique_ptr<ObjectSet> Instances(int32_t flags) = 0;  // Instances_
  virtual std::string ObjectText(int32_t flags) = 0;                // GetObjectText_
  // Of a property of a class object (GetPropertyQualifierSet); throws WmiError.
  virtual PropertyQualifiers Qualifiers(const std::string& propertyName) = 0;
  // The object held by a property of type object (an event's TargetInstance), or null when the
  // property is NULL; throws WmiError.
  virtual std::unique_ptr<Object> EmbeddedObject(const std::string& propertyName) {
    (void)propertyName;
    throw WmiError(kStatusNotSupported, "Not supported");
  }
};

// One in-parameter of a method call, typed as the method's signature asks.
struct MethodArgument {
  std::string name;
  ParameterValue value;
};

class Services {
 public:
  virtual ~Services() = default;
  virtual std::unique_ptr<ObjectSet> SubclassesOf(const std::string& superclass, int32_t flags) = 0;
  virtual std::unique_ptr<ObjectSet> InstancesOf(const std::string& className, int32_t flags) = 0;
  virtual std::unique_ptr<Object> Get(const std::string& path, int32_t flags) = 0;
  virtual std::unique_ptr<ObjectSet> ExecQuery(const std::string& query,
                                               const std::string& language, int32_t flags) = 0;

  // The class with its amended qualifiers, property origins, methods and MOF text.
  virtual ClassDefinition GetClassDefinition(const std::string& className) {
    (void)className;
    throw WmiError(kStatusNotSupported, "Not supported");
  }
  // Calls a method: `objectPath` is an instance's relative path, or the class name for a
  // static method; arguments not listed are not given. Returns the out-parameters object
  // (ReturnValue and the out-parameters), or null when the method returns nothing. Cannot be
  // interrupted once sent.
  virtual std::unique_ptr<Object> ExecMethod(const std::string& objectPath,
                                             const std::string& method,
                                             const std::vector<MethodArgument>& arguments) {
    (void)objectPath, (void)method, (void)arguments;
    throw WmiError(kStatusNotSupported, "Not supported");
  }
  // A notification query, forward-only and returning at once: the enumerator's Next waits
  // for the next event (in slices short enough to notice a stop) until stop is requested.
  virtual std::unique_ptr<ObjectEnumerator> ExecNotificationQuery(const std::string& query,
                                                                  const std::string& language) {
    (void)query, (void)language;
    throw WmiError(kStatusNotSupported, "Not supported");
  }
};

class Locator {
 public:
  virtual ~Locator() = default;
  // host "." or empty is the local computer.
  virtual std::unique_ptr<Services> ConnectServer(const std::string& host, const std::string& ns,
                                                  const std::string& user,
                                                  const std::string& password) = 0;
};

// Leaves the thread's WMI apartment when destroyed.
class ThreadScope {
 public:
  virtual ~ThreadScope() = default;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Throws WmiError; status kClassNotRegistered when the locator class is not registered.
  virtual std::unique_ptr<Locator> CreateLocator() = 0;
  // Joins the calling thread to the apartment WMI needs (COM: the multi-threaded one, which
  // needs no message loop); for threads other than the main thread, which joined at start-up.
  virtual std::unique_ptr<ThreadScope> EnterThread() = 0;
};

}  // namespace brevane::wmi
