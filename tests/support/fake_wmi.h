#pragma once
// An in-memory WMI for the tests: namespaces, classes with subclasses, instances with typed
// values, and injectable failures and delays. Thread-safe: the instance loader walks it from
// its own thread while a test changes faults or data.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "wmi/wmi_api.h"
#include "wmi/wmi_error.h"

namespace brevane::testing {

class FakeMethodTable;

// Property values as the native WMI API hands each CIM type over ("Numbers" in WMI's
// documentation): uint16 and uint32 in a signed VT_I4, sint8 and char16 in VT_I2, uint8 in
// VT_UI1, 64-bit integers, date-times and references as text, arrays as VT_ARRAY of the
// element's VARIANT type; every value carries its CIM type.
namespace cim {
wmi::Value Sint8(int8_t v);
wmi::Value Uint8(uint8_t v);
wmi::Value Sint16(int16_t v);
wmi::Value Uint16(uint16_t v);
wmi::Value Sint32(int32_t v);
wmi::Value Uint32(uint32_t v);
wmi::Value Sint64(int64_t v);
wmi::Value Uint64(uint64_t v);
wmi::Value Real32(float v);
wmi::Value Real64(double v);
wmi::Value Boolean(bool v);
wmi::Value String(std::string v);
wmi::Value Datetime(std::string dmtf);
wmi::Value Reference(std::string path);
wmi::Value Char16(char16_t v);
wmi::Value Object();
// A property without a value (VT_NULL) of the given CIM type.
wmi::Value Null(uint16_t cimType);
// An array of `count` elements of the CIM type (elements are not kept: only bounds are shown).
wmi::Value Array(uint16_t cimType, int64_t count);
}  // namespace cim

struct FakeInstance {
  std::string className;
  std::vector<wmi::Property> properties;
  // The instance's relative path (its __RELPATH): the class's first property as the key, or
  // empty for keyless classes and instances whose key is null.
  std::string relPath;
  std::vector<wmi::PropertyQualifiers> qualifiers;  // class objects: one per property
  // The objects that properties of type object hold (an event's TargetInstance), by name.
  std::vector<std::pair<std::string, std::shared_ptr<const FakeInstance>>> embedded;
};

struct FakeEventSource;  // fake_events.h

struct FakeClass {
  std::string name;
  std::string superclass;
  std::vector<std::string> propertyNames;           // the class definition, in order
  std::vector<uint16_t> propertyTypes;              // their CIM types, kCimUnknown until known
  std::vector<wmi::PropertyQualifiers> qualifiers;  // one per property
};

// Status codes the fake raises, with the texts the user would read.
namespace fake_status {
constexpr int32_t kGenericFailure = static_cast<int32_t>(0x80041001u);
constexpr int32_t kNotFound = static_cast<int32_t>(0x80041002u);
constexpr int32_t kAccessDenied = static_cast<int32_t>(0x80070005u);
constexpr int32_t kInvalidNamespace = static_cast<int32_t>(0x8004100Eu);
constexpr int32_t kInvalidClass = static_cast<int32_t>(0x80041010u);
constexpr int32_t kInvalidQuery = static_cast<int32_t>(0x80041017u);
constexpr int32_t kRpcUnavailable = static_cast<int32_t>(0x800706BAu);
}  // namespace fake_status

// A failure injected into the walk of an object set: at the element with this 0-based index.
struct EnumerationFault {
  std::string operation;  // "SubclassesOf", "InstancesOf", "ExecQuery", "Instances"; empty: any
  std::string className;  // empty: any
  int index = 0;
  bool raise = true;  // true: Next raises; false: Next reports a failing status (ends quietly)
  wmi::WmiError error{fake_status::kGenericFailure, "Generic failure"};
};

class FakeWmi : public wmi::Backend {
 public:
  FakeWmi();
  ~FakeWmi() override;

  // --- data (namespace paths and class names compare without regard to case) ---
  void AddNamespace(const std::string& ns);
  // Types not given here are learnt from the first instance that has the property.
  void AddClass(const std::string& ns, const std::string& name, const std::string& superclass,
                std::vector<std::string> propertyNames, std::vector<uint16_t> propertyTypes = {});
  bool HasClass(const std::string& ns, const std::string& name) const;
  // The qualifiers of a property of a class added before.
  void SetQualifiers(const std::string& ns, const std::string& className,
                     const std::string& propertyName, wmi::PropertyQualifiers qualifiers);
  // The full definition GetClassDefinition returns for a class (qualifiers, origins, methods,
  // MOF text); without one it is made from the class's property names, types and qualifiers.
  void SetClassDefinition(const std::string& ns, wmi::ClassDefinition definition);
  // Instances carry their own properties (a subclass's instance may have more than the base).
  void AddInstance(const std::string& ns, const std::string& className,
                   std::vector<wmi::Property> properties);
  // Changes a property of the instance with that relative path (a method's effect).
  void SetPropertyValue(const std::string& ns, const std::string& relPath,
                        const std::string& propertyName, wmi::Value value);
  // The property's value of the instance with that relative path, if both exist.
  std::optional<wmi::Value> PropertyOf(const std::string& ns, const std::string& relPath,
                                       const std::string& propertyName) const;
  // The handlers ExecMethod runs, and the calls they received (fake_method_calls.h).
  FakeMethodTable& Methods();
  // The events a notification query on the source's class yields in this namespace.
  void AddEventSource(const std::string& ns, const FakeEventSource& source);
  // The name the computer gives itself in __SERVER and __PATH, as WMI writes it ("." unless set).
  void SetComputerName(const std::string& name);
  // Hosts that answer besides ".", "localhost" and "" (all local). Others fail like an
  // unreachable computer.
  void AddHost(const std::string& host);
  // How a host added with AddHost answers a connect: after `delay` (a computer far away, or a
  // dead one when a failure is set too), then with the failure when one is set. The wait
  // cannot be interrupted, as on a real connect; CutConnectDelays ends every wait at once.
  struct HostAnswer {
    std::chrono::milliseconds delay{0};
    std::optional<wmi::WmiError> failure;
  };
  void SetHostAnswer(const std::string& host, HostAnswer answer);
  void CutConnectDelays();
  // When set, connections with other credentials fail with access denied (local included).
  void RequireCredentials(const std::string& user, const std::string& password);

  // --- faults ---
  void SetLocatorUnregistered(bool unregistered);
  void FailConnect(std::optional<wmi::WmiError> error);
  // Connecting to this namespace (on any host) fails with the error; its parent still opens.
  void RefuseNamespace(const std::string& ns, wmi::WmiError error);
  // Calls: "SubclassesOf", "InstancesOf", "Get", "ExecQuery", "Instances", "Properties",
  // "PropertyValue", "ObjectText", "Qualifiers", "NewEnum", "GetClassDefinition",
  // "ExecNotificationQuery", "EmbeddedObject", "ExecMethod".
  void FailCall(const std::string& call, std::optional<wmi::WmiError> error);
  void AddEnumerationFault(EnumerationFault fault);
  // While set, the failure of a call that was asked to return immediately (SubclassesOf,
  // InstancesOf, ExecQuery with kFlagReturnImmediately) comes from the first Next of its
  // enumerator instead, as Windows delivers it.
  void RaiseFromNext(bool raise);
  void ClearFaults();
  // Delay before every element of an object walk.
  void SetElementDelay(std::chrono::milliseconds delay);
  // Object walks (of the given operation, e.g. "InstancesOf"; empty: any) block before the
  // element with this index until stop is requested or ReleaseHang() is called.
  void SetHangAt(std::optional<int> index, const std::string& operation = "");
  void ReleaseHang();

  // --- pacing, data that changes, blocked connections ---
  // Sleeps `delay` before every `every`-th element of an object walk, so that a delay below
  // the sleep granularity per element can still be averaged over several elements.
  void SetPacedDelay(std::chrono::microseconds delay, int every = 1);
  // Instances of this class have no key, hence no relative path: only their position names
  // them.
  void SetKeyless(const std::string& className);
  // The index-th instance of the class disappears once a walk over the class's instances has
  // reached its end: the next walk, or a fetch by its path, no longer finds it.
  void RemoveAfterWalk(const std::string& className, int index);
  // While held, connecting blocks and cannot be interrupted, like a connect to a dead host.
  void HoldConnections(bool hold);

  // --- which thread calls ---
  // Counts every WMI call (connect, object sets, objects, walks) that this thread makes.
  void WatchThread(std::thread::id thread);
  int CallsFromWatchedThread() const;

  // --- observations ---
  int ConnectCount() const { return connects_.load(); }
  int LocatorCount() const { return locators_.load(); }
  std::string LastConnectUser() const;
  std::string LastConnectPassword() const;
  int ThreadScopes() const { return threadScopes_.load(); }
  // Everything handed out and not yet destroyed: locators, services, object sets, object and
  // property enumerators, objects. A caller that releases what it gets brings it back to
  // where it was.
  int LiveObjects() const;

  // While held, destroying anything handed out waits until HoldReleases(false): on real WMI a
  // release is a call to the provider, which may take long. ReleasesWaiting tells how many
  // destructions wait now.
  void HoldReleases(bool hold);
  int ReleasesWaiting() const;

  // --- wmi::Backend ---
  std::unique_ptr<wmi::Locator> CreateLocator() override;
  std::unique_ptr<wmi::ThreadScope> EnterThread() override;

  struct State;  // shared with the objects handed out

 private:
  std::shared_ptr<State> state_;
  std::atomic<int> connects_{0};
  std::atomic<int> locators_{0};
  std::atomic<int> threadScopes_{0};
};

}  // namespace brevane::testing
