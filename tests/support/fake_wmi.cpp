#include "support/fake_wmi.h"

#include <algorithm>
#include <map>
#include <thread>

#include "support/fake_associations.h"
#include "support/fake_method_calls.h"
#include "support/fake_events.h"
#include "util/text.h"
#include "wmi/event_query.h"
#include "wmi/object_path.h"
#include "wmi/request_worker.h"
#include "wmi/value_text.h"

namespace brevane::testing {

using wmi::Object;
using wmi::ObjectEnumerator;
using wmi::ObjectSet;
using wmi::Property;
using wmi::PropertyEnumerator;
using wmi::Value;
using wmi::WmiError;

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

bool IsLocalHost(const std::string& host) {
  return host.empty() || host == "." || SameName(host, "localhost");
}

// What an object handed out stands for: a class definition or an instance.
struct ObjectData {
  std::shared_ptr<const FakeInstance> instance;
  bool isClass = false;
};

std::string RenderForObjectText(const Value& v) {
  if (v.type & wmi::kVtArrayBit) return "{...}";
  switch (v.type) {
    case wmi::kVtBstr:
      return "\"" + v.text + "\"";
    case wmi::kVtBool:
      return v.integer ? "TRUE" : "FALSE";
    case wmi::kVtR4:
    case wmi::kVtR8:
      return util::Format("%g", v.real);
    default:
      return wmi::ValueToText(v, wmi::RegionalSettings{});
  }
}

}  // namespace

namespace cim {

namespace {

Value Typed(Value v, uint16_t cimType) {
  v.cimType = cimType;
  return v;
}

// The VARIANT type an element of the CIM type travels in.
uint16_t VariantTypeOf(uint16_t cimType) {
  switch (cimType) {
    case wmi::kCimSint8:
    case wmi::kCimSint16:
    case wmi::kCimChar16:
      return wmi::kVtI2;
    case wmi::kCimUint8:
      return wmi::kVtUi1;
    case wmi::kCimUint16:
    case wmi::kCimSint32:
    case wmi::kCimUint32:
      return wmi::kVtI4;
    case wmi::kCimReal32:
      return wmi::kVtR4;
    case wmi::kCimReal64:
      return wmi::kVtR8;
    case wmi::kCimBoolean:
      return wmi::kVtBool;
    case wmi::kCimObject:
      return wmi::kVtUnknown;
    default:  // strings, 64-bit integers, date-times, references
      return wmi::kVtBstr;
  }
}

}  // namespace

Value Sint8(int8_t v) {
  return Typed(Value::Int(v, wmi::kVtI2), wmi::kCimSint8);
}
Value Uint8(uint8_t v) {
  return Typed(Value::Int(v, wmi::kVtUi1), wmi::kCimUint8);
}
Value Sint16(int16_t v) {
  return Typed(Value::Int(v, wmi::kVtI2), wmi::kCimSint16);
}
Value Uint16(uint16_t v) {
  return Typed(Value::Int(v, wmi::kVtI4), wmi::kCimUint16);
}
Value Sint32(int32_t v) {
  return Typed(Value::Int(v, wmi::kVtI4), wmi::kCimSint32);
}
// The bit pattern in a signed 32-bit integer: 4294967295 arrives as -1.
Value Uint32(uint32_t v) {
  return Typed(Value::Int(static_cast<int32_t>(v), wmi::kVtI4), wmi::kCimUint32);
}
Value Sint64(int64_t v) {
  return Typed(Value::Text(std::to_string(v)), wmi::kCimSint64);
}
Value Uint64(uint64_t v) {
  return Typed(Value::Text(std::to_string(v)), wmi::kCimUint64);
}
Value Real32(float v) {
  return Typed(Value::Real(v, wmi::kVtR4), wmi::kCimReal32);
}
Value Real64(double v) {
  return Typed(Value::Real(v), wmi::kCimReal64);
}
Value Boolean(bool v) {
  return Typed(Value::Bool(v), wmi::kCimBoolean);
}
Value String(std::string v) {
  return Typed(Value::Text(std::move(v)), wmi::kCimString);
}
Value Datetime(std::string dmtf) {
  return Typed(Value::Text(std::move(dmtf)), wmi::kCimDatetime);
}
Value Reference(std::string path) {
  return Typed(Value::Text(std::move(path)), wmi::kCimReference);
}
Value Char16(char16_t v) {
  return Typed(Value::Int(static_cast<int16_t>(v), wmi::kVtI2), wmi::kCimChar16);
}
Value Object() {
  return Typed(Value::Object(), wmi::kCimObject);
}
Value Null(uint16_t cimType) {
  return Typed(Value::Null(), cimType);
}
Value Array(uint16_t cimType, int64_t count) {
  const auto element = static_cast<uint16_t>(cimType & ~wmi::kCimArrayFlag);
  return Typed(Value::Array(VariantTypeOf(element), {wmi::ArrayBound{0, count - 1}}),
               static_cast<uint16_t>(element | wmi::kCimArrayFlag));
}

}  // namespace cim

struct FakeWmi::State {
  struct Namespace {
    std::string path;
    std::vector<FakeClass> classes;
    std::vector<std::shared_ptr<const FakeInstance>> instances;
    std::vector<wmi::ClassDefinition> definitions;
    std::vector<std::shared_ptr<const FakeEventSource>> eventSources;
  };

  mutable std::mutex mutex;
  std::condition_variable_any hangChanged;
  std::vector<Namespace> namespaces;
  std::vector<std::string> hosts;
  std::string computerName = ".";
  std::optional<std::pair<std::string, std::string>> credentials;
  bool locatorUnregistered = false;
  std::optional<WmiError> connectFailure;
  std::vector<std::pair<std::string, WmiError>> refusedNamespaces;
  std::map<std::string, WmiError> callFailures;
  std::vector<EnumerationFault> enumerationFaults;
  bool raiseFromNext = false;
  std::chrono::microseconds pacedDelay{0};
  int pacedEvery = 1;
  std::vector<std::string> keylessClasses;
  std::vector<std::pair<std::string, int>> removeAfterWalk;
  bool holdConnections = false;
  std::condition_variable_any connectionsReleased;
  std::map<std::string, HostAnswer> hostAnswers;  // by wmi::HostKey
  bool connectDelaysCut = false;
  std::optional<std::thread::id> watchedThread;
  std::atomic<int> watchedCalls{0};
  std::optional<int> hangAt;
  std::string hangOperation;
  uint64_t hangReleases = 0;
  std::string lastUser;
  std::string lastPassword;
  std::atomic<int> liveObjects{0};
  bool holdReleases = false;
  int releasesWaiting = 0;
  std::condition_variable releasesChanged;
  FakeMethodTable methods;

  Namespace* FindNamespace(const std::string& path) {
    for (auto& ns : namespaces) {
      if (SameName(ns.path, path)) return &ns;
    }
    return nullptr;
  }

  // Under the lock.
  void NoteCallLocked() {
    if (watchedThread && *watchedThread == std::this_thread::get_id()) ++watchedCalls;
  }

  void CheckCall(const std::string& call) {
    std::lock_guard lock(mutex);
    NoteCallLocked();
    auto it = callFailures.find(call);
    if (it != callFailures.end()) throw it->second;
  }

  // The class and every class derived from it, at any depth.
  static std::vector<std::string> ClassAndDescendants(const Namespace& ns,
                                                      const std::string& root) {
    std::vector<std::string> result{root};
    for (size_t i = 0; i < result.size(); ++i) {
      for (const auto& c : ns.classes) {
        if (!c.superclass.empty() && SameName(c.superclass, result[i])) result.push_back(c.name);
      }
    }
    return result;
  }

  static const FakeClass* FindClass(const Namespace& ns, const std::string& name) {
    for (const auto& c : ns.classes) {
      if (SameName(c.name, name)) return &c;
    }
    return nullptr;
  }

  static std::vector<ObjectData> InstancesOfClass(const Namespace& ns,
                                                  const std::string& className) {
    const auto family = ClassAndDescendants(ns, className);
    std::vector<ObjectData> result;
    for (const auto& inst : ns.instances) {
      for (const auto& name : family) {
        if (SameName(inst->className, name)) {
          result.push_back({inst, false});
          break;
        }
      }
    }
    return result;
  }

  static std::shared_ptr<const FakeInstance> ClassObject(const FakeClass& c) {
    auto def = std::make_shared<FakeInstance>();
    def->className = c.name;
    for (size_t i = 0; i < c.propertyNames.size(); ++i) {
      def->properties.push_back({c.propertyNames[i], cim::Null(c.propertyTypes[i])});
    }
    def->qualifiers = c.qualifiers;
    return def;
  }

  // Whether the class derives from __Event (or is it).
  static bool IsEventClassOf(const Namespace& ns, const std::string& className) {
    std::vector<std::string> derivation;
    const FakeClass* c = FindClass(ns, className);
    for (int depth = 0; c && !c->superclass.empty() && depth < 64; ++depth) {
      derivation.push_back(c->superclass);
      c = FindClass(ns, c->superclass);
    }
    return wmi::IsEventClass(className, derivation);
  }

  // --- relative paths and data that changes ---

  bool IsKeyless(const std::string& className) const {
    return std::any_of(keylessClasses.begin(), keylessClasses.end(),
                       [&](const std::string& c) { return SameName(c, className); });
  }

  // The class's first property is its key; a null key gives no path. A class whose
  // qualifiers declare several keys has them all in its path, in the class's order.
  std::string RelativePath(const Namespace& ns, const FakeInstance& instance) const {
    const FakeClass* c = FindClass(ns, instance.className);
    if (!c || c->propertyNames.empty() || IsKeyless(instance.className)) return {};
    if (std::count_if(c->qualifiers.begin(), c->qualifiers.end(),
                      [](const wmi::PropertyQualifiers& q) { return q.key; }) > 1) {
      return MultiKeyPath(*c, instance);
    }
    for (const auto& p : instance.properties) {
      if (!SameName(p.name, c->propertyNames.front())) continue;
      if (p.value.type == wmi::kVtBstr) return c->name + "." + p.name + "=\"" + p.value.text + "\"";
      if (p.value.type == wmi::kVtNull || p.value.type == wmi::kVtEmpty ||
          (p.value.type & wmi::kVtArrayBit)) {
        return {};
      }
      return c->name + "." + p.name + "=" + std::to_string(p.value.integer);
    }
    return {};
  }

  static std::string MultiKeyPath(const FakeClass& c, const FakeInstance& instance) {
    wmi::ObjectPath path;
    path.className = c.name;
    for (size_t i = 0; i < c.propertyNames.size(); ++i) {
      if (!c.qualifiers[i].key) continue;
      const auto p =
          std::find_if(instance.properties.begin(), instance.properties.end(),
                       [&](const Property& q) { return SameName(q.name, c.propertyNames[i]); });
      if (p == instance.properties.end() || p->value.type == wmi::kVtNull ||
          p->value.type == wmi::kVtEmpty || (p->value.type & wmi::kVtArrayBit)) {
        return {};
      }
      const bool text = p->value.type == wmi::kVtBstr;
      path.keys.push_back({p->name, text ? p->value.text : std::to_string(p->value.integer), text});
    }
    return path.RelativePath();
  }

  std::shared_ptr<const FakeInstance> FindInstanceByPath(const Namespace& ns,
                                                         const std::string& path) const {
    for (const auto& inst : ns.instances) {
      if (!inst->relPath.empty() && SameName(inst->relPath, path)) return inst;
    }
    // The same object written another way: keys in another order, another case.
    const auto wanted = wmi::ParseObjectPath(path);
    if (!wanted.path) return nullptr;
    for (const auto& inst : ns.instances) {
      if (inst->relPath.empty() || !SameName(inst->className, wanted.path->className)) continue;
      const auto have = wmi::ParseObjectPath(inst->relPath);
      if (have.path && wmi::SameObject(*have.path, *wanted.path)) return inst;
    }
    return nullptr;
  }

  // A walk over the instances of className in namespace nsPath has reached its end.
  void InstanceWalkEnded(const std::string& nsPath, const std::string& className) {
    std::lock_guard lock(mutex);
    Namespace* ns = FindNamespace(nsPath);
    if (!ns) return;
    for (auto it = removeAfterWalk.begin(); it != removeAfterWalk.end();) {
      if (!SameName(it->first, className)) {
        ++it;
        continue;
      }
      const auto family = InstancesOfClass(*ns, className);
      if (it->second >= 0 && static_cast<size_t>(it->second) < family.size()) {
        const auto gone = family[static_cast<size_t>(it->second)].instance;
        ns->instances.erase(std::find(ns->instances.begin(), ns->instances.end(), gone));
      }
      it = removeAfterWalk.erase(it);
    }
  }
};

namespace {

using State = FakeWmi::State;

// Counts its owner among the fake's live objects for as long as the owner exists.
class LiveToken {
 public:
  explicit LiveToken(std::shared_ptr<State> state) : state_(std::move(state)) {
    ++state_->liveObjects;
  }
  ~LiveToken() {
    {
      std::unique_lock lock(state_->mutex);
      if (state_->holdReleases) {
        ++state_->releasesWaiting;
        state_->releasesChanged.notify_all();
        state_->releasesChanged.wait(lock, [&] { return !state_->holdReleases; });
        --state_->releasesWaiting;
      }
    }
    --state_->liveObjects;
  }
  LiveToken(const LiveToken&) = delete;
  LiveToken& operator=(const LiveToken&) = delete;

 private:
  std::shared_ptr<State> state_;
};

class FakePropertyEnumerator final : public PropertyEnumerator {
 public:
  FakePropertyEnumerator(std::shared_ptr<State> state, std::shared_ptr<const FakeInstance> instance)
      : live_(std::move(state)), instance_(std::move(instance)) {}
  bool Next(Property& out) override {
    if (index_ >= instance_->properties.size()) return false;
    out = instance_->properties[index_++];
    return true;
  }

 private:
  LiveToken live_;
  std::shared_ptr<const FakeInstance> instance_;
  size_t index_ = 0;
};

class FakeObjectSet;

class FakeObject final : public Object {
 public:
  FakeObject(std::shared_ptr<State> state, std::string ns, ObjectData data)
      : state_(std::move(state)), ns_(std::move(ns)), data_(std::move(data)) {}

  std::string ClassName() override { return data_.instance->className; }

  std::unique_ptr<PropertyEnumerator> Properties() override {
    state_->CheckCall("Properties");
    return std::make_unique<FakePropertyEnumerator>(state_, data_.instance);
  }

  Value PropertyValue(const std::string& name) override {
    state_->CheckCall("PropertyValue");
    if (!data_.isClass && (SameName(name, "__RELPATH") || SameName(name, "__PATH"))) {
      const std::string& path = data_.instance->relPath;
      if (path.empty()) return Value::Null();
      return Value::Text(
          SameName(name, "__PATH") ? "\\\\" + ComputerName() + "\\" + ns_ + ":" + path : path);
    }
    if (SameName(name, "__SERVER")) return Value::Text(ComputerName());
    for (const auto& p : data_.instance->properties) {
      if (SameName(p.name, name)) return p.value;
    }
    throw WmiError(fake_status::kNotFound, "Not found");
  }

  std::unique_ptr<ObjectSet> Instances(int32_t flags) override;

  wmi::PropertyQualifiers Qualifiers(const std::string& name) override {
    state_->CheckCall("Qualifiers");
    const auto& properties = data_.instance->properties;
    for (size_t i = 0; i < properties.size(); ++i) {
      if (!SameName(properties[i].name, name)) continue;
      return i < data_.instance->qualifiers.size() ? data_.instance->qualifiers[i]
                                                   : wmi::PropertyQualifiers{};
    }
    throw WmiError(fake_status::kNotFound, "Not found");
  }

  std::unique_ptr<Object> EmbeddedObject(const std::string& name) override {
    state_->CheckCall("EmbeddedObject");
    for (const auto& [property, object] : data_.instance->embedded) {
      if (SameName(property, name))
        return std::make_unique<FakeObject>(state_, ns_, ObjectData{object, false});
    }
    for (const auto& p : data_.instance->properties) {
      if (SameName(p.name, name)) return nullptr;  // a NULL object property
    }
    throw WmiError(fake_status::kNotFound, "Not found");
  }

  std::string ObjectText(int32_t) override {
    state_->CheckCall("ObjectText");
    std::string text = "\ninstance of " + data_.instance->className + "\n{\n";
    for (const auto& p : data_.instance->properties) {
      if (p.value.type == wmi::kVtNull || p.value.type == wmi::kVtEmpty) continue;
      text += "\t" + p.name + " = " + RenderForObjectText(p.value) + ";\n";
    }
    return text + "};\n";
  }

 private:
  std::string ComputerName() const {
    std::lock_guard lock(state_->mutex);
    return state_->computerName;
  }

  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::string ns_;
  ObjectData data_;
};

class FakeObjectEnumerator final : public ObjectEnumerator {
 public:
  FakeObjectEnumerator(std::shared_ptr<State> state, std::string ns, std::string operation,
                       std::string className, std::vector<ObjectData> objects,
                       std::optional<WmiError> failure)
      : state_(std::move(state)),
        ns_(std::move(ns)),
        operation_(std::move(operation)),
        className_(std::move(className)),
        objects_(std::move(objects)),
        failure_(std::move(failure)) {}

  bool Next(std::unique_ptr<Object>& out, std::stop_token stop) override {
    return NextBefore(out, stop, std::chrono::steady_clock::time_point::max());
  }

  bool NextBefore(std::unique_ptr<Object>& out, std::stop_token stop,
                  std::chrono::steady_clock::time_point deadline) override {
    out.reset();
    if (done_) return false;
    if (failure_) {
      done_ = true;
      throw *failure_;
    }
    const int index = next_;
    std::chrono::microseconds delay{0};
    std::optional<EnumerationFault> fault;
    {
      std::unique_lock lock(state_->mutex);
      state_->NoteCallLocked();
      if ((index + 1) % std::max(state_->pacedEvery, 1) == 0) delay = state_->pacedDelay;
      for (const auto& f : state_->enumerationFaults) {
        if (f.index == index && (f.operation.empty() || f.operation == operation_) &&
            (f.className.empty() || SameName(f.className, className_))) {
          fault = f;
          break;
        }
      }
      if (state_->hangAt && *state_->hangAt == index &&
          (state_->hangOperation.empty() || state_->hangOperation == operation_)) {
        const uint64_t releases = state_->hangReleases;
        if (!state_->hangChanged.wait_until(lock, stop, deadline,
                                            [&] { return state_->hangReleases != releases; }))
          return false;
      }
    }
    if (delay.count() > 0) {
      const auto until = std::chrono::steady_clock::now() + delay;
      while (std::chrono::steady_clock::now() < until) {
        if (stop.stop_requested()) return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::microseconds>(delay, std::chrono::milliseconds(5)));
      }
    }
    if (fault) {
      done_ = true;
      if (fault->raise) throw fault->error;
      return false;
    }
    if (static_cast<size_t>(index) >= objects_.size()) {
      done_ = true;
      if (operation_ == "InstancesOf" || operation_ == "Instances")
        state_->InstanceWalkEnded(ns_, className_);
      return false;
    }
    ++next_;
    out = std::make_unique<FakeObject>(state_, ns_, objects_[static_cast<size_t>(index)]);
    return true;
  }

 private:
  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::string ns_;
  std::string operation_;
  std::string className_;
  std::vector<ObjectData> objects_;
  std::optional<WmiError> failure_;
  int next_ = 0;
  bool done_ = false;
};

// The events of a notification query, as they come, until stopped.
class FakeEventEnumerator final : public ObjectEnumerator {
 public:
  FakeEventEnumerator(std::shared_ptr<State> state, std::string ns,
                      std::shared_ptr<const FakeEventSource> source)
      : state_(std::move(state)), ns_(std::move(ns)), source_(std::move(source)) {}

  bool Next(std::unique_ptr<Object>& out, std::stop_token stop) override {
    return NextBefore(out, stop, std::chrono::steady_clock::time_point::max());
  }

  bool NextBefore(std::unique_ptr<Object>& out, std::stop_token stop,
                  std::chrono::steady_clock::time_point deadline) override {
    out.reset();
    {
      std::lock_guard lock(state_->mutex);
      state_->NoteCallLocked();
    }
    const FakeEventSource silent;
    auto event = WaitForEvent(source_ ? *source_ : silent, next_, start_, stop, deadline);
    if (!event) return false;
    ++next_;
    out = std::make_unique<FakeObject>(state_, ns_, ObjectData{std::move(event), false});
    return true;
  }

 private:
  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::string ns_;
  std::shared_ptr<const FakeEventSource> source_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  int next_ = 0;
};

class FakeObjectSet final : public ObjectSet {
 public:
  FakeObjectSet(std::shared_ptr<State> state, std::string ns, std::string operation,
                std::string className, std::vector<ObjectData> objects,
                std::optional<WmiError> failure = std::nullopt)
      : state_(std::move(state)),
        ns_(std::move(ns)),
        operation_(std::move(operation)),
        className_(std::move(className)),
        objects_(std::move(objects)),
        failure_(std::move(failure)) {}

  std::unique_ptr<ObjectEnumerator> NewEnum() override {
    state_->CheckCall("NewEnum");
    return std::make_unique<FakeObjectEnumerator>(state_, ns_, operation_, className_, objects_,
                                                  failure_);
  }

 private:
  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::string ns_;
  std::string operation_;
  std::string className_;
  std::vector<ObjectData> objects_;
  std::optional<WmiError> failure_;
};

std::unique_ptr<ObjectSet> FakeObject::Instances(int32_t) {
  state_->CheckCall("Instances");
  std::vector<ObjectData> objects;
  {
    std::lock_guard lock(state_->mutex);
    if (auto* ns = state_->FindNamespace(ns_))
      objects = State::InstancesOfClass(*ns, data_.instance->className);
  }
  return std::make_unique<FakeObjectSet>(state_, ns_, "Instances", data_.instance->className,
                                         std::move(objects));
}

// A small WQL reader: "select <*|names> from <class> [where <property> <=|<>> <literal>]".
struct ParsedQuery {
  bool all = false;
  std::vector<std::string> properties;
  std::string className;
  std::string whereProperty;
  std::string whereOperator;
  std::string whereLiteral;
};

std::optional<ParsedQuery> ParseQuery(const std::string& text) {
  const std::string lower = util::AsciiLower(text);
  const std::string trimmed = util::Trim(lower);
  if (trimmed.rfind("select", 0) != 0) return std::nullopt;
  const size_t start = lower.find("select") + 6;
  const size_t from = lower.find(" from ", start);
  if (from == std::string::npos) return std::nullopt;
  ParsedQuery q;
  const std::string list = util::Trim(std::string_view(text).substr(start, from - start));
  if (list.empty()) return std::nullopt;
  if (list == "*") {
    q.all = true;
  } else {
    size_t pos = 0;
    while (pos <= list.size()) {
      const size_t comma = list.find(',', pos);
      std::string name = util::Trim(
          list.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
      if (name.empty()) return std::nullopt;
      q.properties.push_back(name);
      if (comma == std::string::npos) break;
      pos = comma + 1;
    }
  }
  std::string rest = util::Trim(std::string_view(text).substr(from + 6));
  const size_t end = rest.find_first_of(" \t\r\n");
  q.className = rest.substr(0, end);
  if (q.className.empty()) return std::nullopt;
  if (end != std::string::npos) {
    std::string cond = util::Trim(rest.substr(end));
    if (util::AsciiLower(cond).rfind("where ", 0) != 0) return std::nullopt;
    cond = util::Trim(cond.substr(6));
    const size_t op = cond.find_first_of("=<");
    if (op == std::string::npos) return std::nullopt;
    q.whereProperty = util::Trim(cond.substr(0, op));
    q.whereOperator = cond.compare(op, 2, "<>") == 0 ? "<>" : "=";
    std::string literal = util::Trim(cond.substr(op + q.whereOperator.size()));
    if (literal.size() >= 2 && (literal.front() == '\'' || literal.front() == '"') &&
        literal.back() == literal.front()) {
      literal = literal.substr(1, literal.size() - 2);
    }
    q.whereLiteral = literal;
  }
  return q;
}

std::string PlainText(const Value& v) {
  return wmi::ValueToText(v, wmi::RegionalSettings{});
}

class FakeServices final : public wmi::Services {
 public:
  FakeServices(std::shared_ptr<State> state, std::string ns)
      : state_(std::move(state)), ns_(std::move(ns)) {}

  std::unique_ptr<ObjectSet> SubclassesOf(const std::string& superclass, int32_t flags) override {
    return Deferrable("SubclassesOf", superclass, flags, [&] { return SubclassesNow(superclass); });
  }

  std::unique_ptr<ObjectSet> InstancesOf(const std::string& className, int32_t flags) override {
    return Deferrable("InstancesOf", className, flags, [&] { return InstancesNow(className); });
  }

  std::unique_ptr<ObjectSet> ExecQuery(const std::string& query, const std::string& language,
                                       int32_t flags) override {
    return Deferrable("ExecQuery", "", flags, [&] { return QueryNow(query, language); });
  }

  std::unique_ptr<Object> Get(const std::string& path, int32_t) override {
    state_->CheckCall("Get");
    std::lock_guard lock(state_->mutex);
    if (path.find('=') != std::string::npos) {
      auto instance = state_->FindInstanceByPath(Ns(), path);
      if (!instance) throw WmiError(fake_status::kNotFound, "Not found");
      return std::make_unique<FakeObject>(state_, ns_, ObjectData{std::move(instance), false});
    }
    const FakeClass* c = State::FindClass(Ns(), path);
    if (!c) throw WmiError(fake_status::kNotFound, "Not found");
    return std::make_unique<FakeObject>(state_, ns_, ObjectData{State::ClassObject(*c), true});
  }

  std::unique_ptr<Object> ExecMethod(const std::string& objectPath, const std::string& method,
                                     const std::vector<wmi::MethodArgument>& arguments) override {
    state_->CheckCall("ExecMethod");
    FakeMethodCall call{ns_,      "", objectPath, method, objectPath.find('=') == std::string::npos,
                        arguments};
    std::vector<std::string> lineage;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      std::string className = objectPath;
      if (!call.onClass) {
        auto instance = state_->FindInstanceByPath(ns, objectPath);
        if (!instance) throw WmiError(fake_status::kNotFound, "Not found");
        className = instance->className;
      }
      for (const FakeClass* c = State::FindClass(ns, className); c && lineage.size() < 64;
           c = State::FindClass(ns, c->superclass)) {
        lineage.push_back(c->name);
      }
      if (lineage.empty()) throw WmiError(fake_status::kInvalidClass, "Invalid class");
    }
    // The handler runs outside the lock: it may change the fake's data.
    std::vector<wmi::Property> outputs = state_->methods.Call(std::move(call), lineage);
    if (outputs.empty()) return nullptr;
    auto parameters = std::make_shared<FakeInstance>();
    parameters->className = "__PARAMETERS";
    parameters->properties = std::move(outputs);
    return std::make_unique<FakeObject>(state_, ns_, ObjectData{std::move(parameters), false});
  }

  std::unique_ptr<ObjectEnumerator> ExecNotificationQuery(const std::string& query,
                                                          const std::string& language) override {
    state_->CheckCall("ExecNotificationQuery");
    if (!SameName(language, "WQL"))
      throw WmiError(static_cast<int32_t>(0x80041018u), "Invalid query type");
    const auto className = wmi::SelectedClass(query);
    if (!className) throw WmiError(fake_status::kInvalidQuery, "Invalid query");
    std::shared_ptr<const FakeEventSource> source;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      if (!State::FindClass(ns, *className))
        throw WmiError(fake_status::kInvalidClass, "Invalid class");
      if (!State::IsEventClassOf(ns, *className))
        throw WmiError(static_cast<int32_t>(0x80041053u), "Not an event class");
      for (const auto& s : ns.eventSources) {
        if (SameName(s->eventClass, *className)) source = s;
      }
    }
    return std::make_unique<FakeEventEnumerator>(state_, ns_, std::move(source));
  }

  wmi::ClassDefinition GetClassDefinition(const std::string& className) override {
    state_->CheckCall("GetClassDefinition");
    std::lock_guard lock(state_->mutex);
    auto& ns = Ns();
    const FakeClass* c = State::FindClass(ns, className);
    if (!c) throw WmiError(fake_status::kNotFound, "Not found");
    for (const auto& d : ns.definitions) {
      if (SameName(d.name, c->name)) return d;
    }
    wmi::ClassDefinition definition;
    definition.name = c->name;
    for (const FakeClass* base = State::FindClass(ns, c->superclass); base;
         base = State::FindClass(ns, base->superclass)) {
      definition.derivation.push_back(base->name);
      if (definition.derivation.size() > 64) break;  // a cycle a test made by mistake
    }
    for (size_t i = 0; i < c->propertyNames.size(); ++i) {
      wmi::PropertyDefinition p;
      p.name = c->propertyNames[i];
      p.cimType = i < c->propertyTypes.size() ? c->propertyTypes[i]
                                              : static_cast<uint16_t>(wmi::kCimUnknown);
      p.originClass = c->name;
      if (i < c->qualifiers.size() && c->qualifiers[i].key) {
        p.qualifiers.push_back({"key", wmi::Value::Bool(true), {}});
      }
      definition.properties.push_back(std::move(p));
    }
    definition.mofText =
        "class " + c->name + (c->superclass.empty() ? "" : " : " + c->superclass) + "\n{\n};\n";
    return definition;
  }

 private:
  // A call asked to return immediately hands its failure to the enumerator in that mode.
  template <class Call>
  std::unique_ptr<ObjectSet> Deferrable(const char* operation, const std::string& className,
                                        int32_t flags, Call call) {
    try {
      return call();
    } catch (const WmiError& e) {
      bool defer = false;
      {
        std::lock_guard lock(state_->mutex);
        defer = state_->raiseFromNext && (flags & wmi::kFlagReturnImmediately) != 0;
      }
      if (!defer) throw;
      return std::make_unique<FakeObjectSet>(state_, ns_, operation, className,
                                             std::vector<ObjectData>{}, e);
    }
  }

  std::unique_ptr<ObjectSet> SubclassesNow(const std::string& superclass) {
    state_->CheckCall("SubclassesOf");
    std::vector<ObjectData> objects;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      if (superclass.empty()) {
        for (const auto& c : ns.classes) objects.push_back({State::ClassObject(c), true});
      } else {
        auto family = State::ClassAndDescendants(ns, superclass);
        for (size_t i = 1; i < family.size(); ++i) {
          objects.push_back({State::ClassObject(*State::FindClass(ns, family[i])), true});
        }
      }
    }
    return std::make_unique<FakeObjectSet>(state_, ns_, "SubclassesOf", superclass,
                                           std::move(objects));
  }

  std::unique_ptr<ObjectSet> InstancesNow(const std::string& className) {
    state_->CheckCall("InstancesOf");
    std::vector<ObjectData> objects;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      if (!State::FindClass(ns, className))
        throw WmiError(fake_status::kInvalidClass, "Invalid class");
      objects = State::InstancesOfClass(ns, className);
    }
    return std::make_unique<FakeObjectSet>(state_, ns_, "InstancesOf", className,
                                           std::move(objects));
  }

  std::unique_ptr<ObjectSet> QueryNow(const std::string& query, const std::string& language) {
    state_->CheckCall("ExecQuery");
    if (!SameName(language, "WQL"))
      throw WmiError(static_cast<int32_t>(0x80041018u), "Invalid query type");
    bool malformed = false;
    if (auto association = ParseAssociationQuery(query, malformed))
      return AssociationNow(*association);
    if (malformed) throw WmiError(fake_status::kInvalidQuery, "Invalid query");
    auto parsed = ParseQuery(query);
    if (!parsed) throw WmiError(fake_status::kInvalidQuery, "Invalid query");
    std::vector<ObjectData> objects;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      if (!State::FindClass(ns, parsed->className))
        throw WmiError(fake_status::kInvalidClass, "Invalid class");
      // Event classes answer only a notification query.
      if (State::IsEventClassOf(ns, parsed->className))
        throw WmiError(fake_status::kInvalidQuery, "Invalid query");
      for (auto& data : State::InstancesOfClass(ns, parsed->className)) {
        if (!parsed->whereProperty.empty()) {
          std::string actual;
          for (const auto& p : data.instance->properties) {
            if (SameName(p.name, parsed->whereProperty)) actual = PlainText(p.value);
          }
          const bool equal = actual == parsed->whereLiteral;
          if (equal != (parsed->whereOperator == "=")) continue;
        }
        if (parsed->all) {
          objects.push_back(std::move(data));
          continue;
        }
        auto selected = std::make_shared<FakeInstance>();
        selected->className = data.instance->className;
        selected->relPath = data.instance->relPath;
        for (const auto& p : data.instance->properties) {
          for (const auto& wanted : parsed->properties) {
            if (SameName(p.name, wanted)) {
              selected->properties.push_back(p);
              break;
            }
          }
        }
        objects.push_back({selected, false});
      }
    }
    return std::make_unique<FakeObjectSet>(state_, ns_, "ExecQuery", parsed->className,
                                           std::move(objects));
  }

  std::unique_ptr<ObjectSet> AssociationNow(const AssociationQuery& query) {
    if (!wmi::ParseObjectPath(query.path).path)
      throw WmiError(static_cast<int32_t>(0x8004103Au), "Invalid object path");
    AssociationAnswer answer;
    {
      std::lock_guard lock(state_->mutex);
      auto& ns = Ns();
      const IsA isA = [&](const std::string& className, const std::string& ancestor) {
        int depth = 0;  // a cycle a test made by mistake ends the walk
        for (const FakeClass* c = State::FindClass(ns, className); c && depth < 64;
             c = State::FindClass(ns, c->superclass), ++depth) {
          if (SameName(c->name, ancestor)) return true;
          if (c->superclass.empty()) break;
        }
        return false;
      };
      answer = AnswerAssociationQuery(query, ns.path, ns.instances, isA);
    }
    if (!answer.targetFound) throw WmiError(fake_status::kNotFound, "Not found");
    std::vector<ObjectData> objects;
    objects.reserve(answer.objects.size());
    for (auto& object : answer.objects) objects.push_back({std::move(object), false});
    return std::make_unique<FakeObjectSet>(state_, ns_, "ExecQuery", "", std::move(objects));
  }

  // The namespace may only vanish if a test removes it, which the fake does not offer.
  State::Namespace& Ns() { return *state_->FindNamespace(ns_); }

  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::string ns_;
};

class FakeLocator final : public wmi::Locator {
 public:
  FakeLocator(std::shared_ptr<State> state, std::atomic<int>& connects)
      : state_(std::move(state)), connects_(connects) {}

  std::unique_ptr<wmi::Services> ConnectServer(const std::string& host, const std::string& ns,
                                               const std::string& user,
                                               const std::string& password) override {
    ++connects_;
    std::unique_lock lock(state_->mutex);
    state_->NoteCallLocked();
    state_->connectionsReleased.wait(lock, [&] { return !state_->holdConnections; });
    state_->lastUser = user;
    state_->lastPassword = password;
    if (state_->connectFailure) throw *state_->connectFailure;
    if (!IsLocalHost(host)) {
      const bool known = std::any_of(state_->hosts.begin(), state_->hosts.end(),
                                     [&](const std::string& h) { return SameName(h, host); });
      if (!known) throw WmiError(fake_status::kRpcUnavailable, "The RPC server is unavailable");
      const auto answer = state_->hostAnswers.find(wmi::HostKey(host));
      if (answer != state_->hostAnswers.end()) {
        const FakeWmi::HostAnswer planned = answer->second;
        state_->connectionsReleased.wait_for(lock, planned.delay,
                                             [&] { return state_->connectDelaysCut; });
        if (planned.failure) throw *planned.failure;
      }
    }
    if (state_->credentials &&
        (state_->credentials->first != user || state_->credentials->second != password)) {
      throw WmiError(fake_status::kAccessDenied, "Access is denied");
    }
    auto* found = state_->FindNamespace(ns);
    if (!found) throw WmiError(fake_status::kInvalidNamespace, "Invalid namespace");
    for (const auto& [refused, error] : state_->refusedNamespaces) {
      if (SameName(refused, found->path)) throw error;
    }
    return std::make_unique<FakeServices>(state_, found->path);
  }

 private:
  std::shared_ptr<State> state_;
  LiveToken live_{state_};
  std::atomic<int>& connects_;
};

class FakeThreadScope final : public wmi::ThreadScope {
 public:
  explicit FakeThreadScope(std::atomic<int>& scopes) : scopes_(scopes) { ++scopes_; }
  ~FakeThreadScope() override { --scopes_; }

 private:
  std::atomic<int>& scopes_;
};

}  // namespace

FakeWmi::FakeWmi() : state_(std::make_shared<State>()) {}
FakeWmi::~FakeWmi() = default;

void FakeWmi::AddNamespace(const std::string& ns) {
  std::lock_guard lock(state_->mutex);
  if (!state_->FindNamespace(ns)) state_->namespaces.push_back({ns, {}, {}, {}, {}});
}

void FakeWmi::AddClass(const std::string& ns, const std::string& name,
                       const std::string& superclass, std::vector<std::string> propertyNames,
                       std::vector<uint16_t> propertyTypes) {
  AddNamespace(ns);
  std::lock_guard lock(state_->mutex);
  propertyTypes.resize(propertyNames.size(), wmi::kCimUnknown);
  std::vector<wmi::PropertyQualifiers> qualifiers(propertyNames.size());
  state_->FindNamespace(ns)->classes.push_back({name, superclass, std::move(propertyNames),
                                                std::move(propertyTypes), std::move(qualifiers)});
}

bool FakeWmi::HasClass(const std::string& ns, const std::string& name) const {
  std::lock_guard lock(state_->mutex);
  const State::Namespace* space = state_->FindNamespace(ns);
  return space != nullptr && State::FindClass(*space, name) != nullptr;
}

void FakeWmi::AddEventSource(const std::string& ns, const FakeEventSource& source) {
  std::lock_guard lock(state_->mutex);
  if (State::Namespace* space = state_->FindNamespace(ns))
    space->eventSources.push_back(std::make_shared<const FakeEventSource>(source));
}

void FakeWmi::SetClassDefinition(const std::string& ns, wmi::ClassDefinition definition) {
  std::lock_guard lock(state_->mutex);
  State::Namespace* space = state_->FindNamespace(ns);
  if (space == nullptr) return;
  for (auto& d : space->definitions) {
    if (SameName(d.name, definition.name)) {
      d = std::move(definition);
      return;
    }
  }
  space->definitions.push_back(std::move(definition));
}

void FakeWmi::SetQualifiers(const std::string& ns, const std::string& className,
                            const std::string& propertyName, wmi::PropertyQualifiers qualifiers) {
  std::lock_guard lock(state_->mutex);
  State::Namespace* space = state_->FindNamespace(ns);
  if (space == nullptr) return;
  for (FakeClass& c : space->classes) {
    if (!SameName(c.name, className)) continue;
    for (size_t i = 0; i < c.propertyNames.size(); ++i) {
      if (SameName(c.propertyNames[i], propertyName)) c.qualifiers[i] = qualifiers;
    }
  }
}

void FakeWmi::AddInstance(const std::string& ns, const std::string& className,
                          std::vector<Property> properties) {
  AddNamespace(ns);
  std::lock_guard lock(state_->mutex);
  State::Namespace& space = *state_->FindNamespace(ns);
  // The class definition learns the types of its properties from the instances. Searched from
  // the back: instances usually follow their class.
  for (auto c = space.classes.rbegin(); c != space.classes.rend(); ++c) {
    if (!SameName(c->name, className)) continue;
    for (size_t i = 0; i < c->propertyNames.size(); ++i) {
      if (c->propertyTypes[i] != wmi::kCimUnknown) continue;
      for (const auto& p : properties) {
        if (SameName(p.name, c->propertyNames[i])) c->propertyTypes[i] = p.value.cimType;
      }
    }
    break;
  }
  auto instance = std::make_shared<FakeInstance>();
  instance->className = className;
  instance->properties = std::move(properties);
  instance->relPath = state_->RelativePath(space, *instance);
  space.instances.push_back(std::move(instance));
}

void FakeWmi::SetPropertyValue(const std::string& ns, const std::string& relPath,
                               const std::string& propertyName, wmi::Value value) {
  std::lock_guard lock(state_->mutex);
  State::Namespace* space = state_->FindNamespace(ns);
  if (space == nullptr) return;
  const auto target = state_->FindInstanceByPath(*space, relPath);
  for (auto& instance : space->instances) {
    if (instance != target) continue;
    // Instances are shared with objects already handed out, which keep what they read.
    auto changed = std::make_shared<FakeInstance>(*instance);
    for (auto& p : changed->properties) {
      if (SameName(p.name, propertyName)) p.value = value;
    }
    instance = std::move(changed);
  }
}

std::optional<wmi::Value> FakeWmi::PropertyOf(const std::string& ns, const std::string& relPath,
                                              const std::string& propertyName) const {
  std::lock_guard lock(state_->mutex);
  State::Namespace* space = state_->FindNamespace(ns);
  if (space == nullptr) return std::nullopt;
  const auto instance = state_->FindInstanceByPath(*space, relPath);
  if (!instance) return std::nullopt;
  for (const auto& p : instance->properties) {
    if (SameName(p.name, propertyName)) return p.value;
  }
  return std::nullopt;
}

FakeMethodTable& FakeWmi::Methods() {
  return state_->methods;
}

void FakeWmi::SetComputerName(const std::string& name) {
  std::lock_guard lock(state_->mutex);
  state_->computerName = name;
}

void FakeWmi::AddHost(const std::string& host) {
  std::lock_guard lock(state_->mutex);
  state_->hosts.push_back(host);
}

void FakeWmi::SetHostAnswer(const std::string& host, HostAnswer answer) {
  std::lock_guard lock(state_->mutex);
  state_->hostAnswers[wmi::HostKey(host)] = std::move(answer);
}

void FakeWmi::CutConnectDelays() {
  {
    std::lock_guard lock(state_->mutex);
    state_->connectDelaysCut = true;
  }
  state_->connectionsReleased.notify_all();
}

void FakeWmi::RequireCredentials(const std::string& user, const std::string& password) {
  std::lock_guard lock(state_->mutex);
  state_->credentials = std::make_pair(user, password);
}

void FakeWmi::SetLocatorUnregistered(bool unregistered) {
  std::lock_guard lock(state_->mutex);
  state_->locatorUnregistered = unregistered;
}

void FakeWmi::RefuseNamespace(const std::string& ns, WmiError error) {
  AddNamespace(ns);
  std::lock_guard lock(state_->mutex);
  state_->refusedNamespaces.emplace_back(ns, std::move(error));
}

void FakeWmi::FailConnect(std::optional<WmiError> error) {
  std::lock_guard lock(state_->mutex);
  state_->connectFailure = std::move(error);
}

void FakeWmi::FailCall(const std::string& call, std::optional<WmiError> error) {
  std::lock_guard lock(state_->mutex);
  if (error) {
    state_->callFailures.insert_or_assign(call, *error);
  } else {
    state_->callFailures.erase(call);
  }
}

void FakeWmi::AddEnumerationFault(EnumerationFault fault) {
  std::lock_guard lock(state_->mutex);
  state_->enumerationFaults.push_back(std::move(fault));
}

void FakeWmi::RaiseFromNext(bool raise) {
  std::lock_guard lock(state_->mutex);
  state_->raiseFromNext = raise;
}

void FakeWmi::ClearFaults() {
  std::lock_guard lock(state_->mutex);
  state_->connectFailure.reset();
  state_->callFailures.clear();
  state_->enumerationFaults.clear();
  state_->locatorUnregistered = false;
}

void FakeWmi::SetElementDelay(std::chrono::milliseconds delay) {
  SetPacedDelay(delay, 1);
}

void FakeWmi::SetPacedDelay(std::chrono::microseconds delay, int every) {
  std::lock_guard lock(state_->mutex);
  state_->pacedDelay = delay;
  state_->pacedEvery = std::max(every, 1);
}

void FakeWmi::SetKeyless(const std::string& className) {
  std::lock_guard lock(state_->mutex);
  state_->keylessClasses.push_back(className);
  for (auto& ns : state_->namespaces) {
    for (auto& instance : ns.instances) {
      if (!SameName(instance->className, className) || instance->relPath.empty()) continue;
      auto keyless = std::make_shared<FakeInstance>(*instance);
      keyless->relPath.clear();
      instance = std::move(keyless);
    }
  }
}

void FakeWmi::RemoveAfterWalk(const std::string& className, int index) {
  std::lock_guard lock(state_->mutex);
  state_->removeAfterWalk.emplace_back(className, index);
}

void FakeWmi::HoldConnections(bool hold) {
  {
    std::lock_guard lock(state_->mutex);
    state_->holdConnections = hold;
  }
  state_->connectionsReleased.notify_all();
}

void FakeWmi::WatchThread(std::thread::id thread) {
  std::lock_guard lock(state_->mutex);
  state_->watchedThread = thread;
}

int FakeWmi::CallsFromWatchedThread() const {
  return state_->watchedCalls.load();
}

void FakeWmi::SetHangAt(std::optional<int> index, const std::string& operation) {
  std::lock_guard lock(state_->mutex);
  state_->hangAt = index;
  state_->hangOperation = operation;
}

void FakeWmi::ReleaseHang() {
  {
    std::lock_guard lock(state_->mutex);
    ++state_->hangReleases;
    state_->hangAt.reset();
  }
  state_->hangChanged.notify_all();
}

int FakeWmi::LiveObjects() const {
  return state_->liveObjects.load();
}

void FakeWmi::HoldReleases(bool hold) {
  {
    std::lock_guard lock(state_->mutex);
    state_->holdReleases = hold;
  }
  state_->releasesChanged.notify_all();
}

int FakeWmi::ReleasesWaiting() const {
  std::lock_guard lock(state_->mutex);
  return state_->releasesWaiting;
}

std::string FakeWmi::LastConnectUser() const {
  std::lock_guard lock(state_->mutex);
  return state_->lastUser;
}

std::string FakeWmi::LastConnectPassword() const {
  std::lock_guard lock(state_->mutex);
  return state_->lastPassword;
}

std::unique_ptr<wmi::Locator> FakeWmi::CreateLocator() {
  ++locators_;
  {
    std::lock_guard lock(state_->mutex);
    if (state_->locatorUnregistered)
      throw WmiError(wmi::kClassNotRegistered, "Class not registered");
  }
  return std::make_unique<FakeLocator>(state_, connects_);
}

std::unique_ptr<wmi::ThreadScope> FakeWmi::EnterThread() {
  return std::make_unique<FakeThreadScope>(threadScopes_);
}

}  // namespace brevane::testing
