#include "wmi/wmi_client.h"

#include <exception>

#include "util/secret.h"
#include "util/text.h"
#include "wmi/query_ops.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

TWMI::TWMI(Backend& backend, RegionalSettings regional)
    : backend_(backend), regional_(std::move(regional)) {}

TWMI::~TWMI() {
  util::WipeSecret(Password);
}

void TWMI::SetHost(const std::string& host) {
  Host = host.empty() ? "." : host;
}

void TWMI::SetNamespace(const std::string& ns) {
  Namespace = ns.empty() ? "root\\cimv2" : ns;
}

bool TWMI::CheckLocator() {
  LastError.clear();
  try {
    backend_.CreateLocator();
    return true;
  } catch (const WmiError& e) {
    if (e.Status() == kClassNotRegistered) {
      LastError = std::string("Class \"ISWbemLocator\" is not registered on the system.\r\n") +
                  "Error code: " + std::to_string(e.Status()) + "\r\nError message: " + e.what();
    } else {
      LastError = e.what();
    }
  } catch (const std::exception& e) {
    LastError = e.what();
  }
  return false;
}

bool TWMI::GetClasses(util::StringList& items) {
  LastError.clear();
  // The local computer takes no credentials; "." is how the user asks for it explicitly.
  if (Host == ".") {
    User.clear();
    util::WipeSecret(Password);
  }
  try {
    auto services = ConnectWmi(backend_, Host, Namespace, User, Password);
    auto set = services->SubclassesOf("", 0);
    auto classes = set->NewEnum();
    std::unique_ptr<Object> classObject;
    while (classes->Next(classObject) && classObject) items.push_back(classObject->ClassName());
    return true;
  } catch (const std::exception& e) {
    LastError = e.what();
    return false;
  }
}

bool TWMI::GetClassProperties(const std::string& className, util::StringList& names,
                              std::vector<PropertyType>* types) {
  return ListClassProperties(backend_, {Host, Namespace, User, Password}, className, names,
                             LastError, types);
}

bool TWMI::GetInstanceProperties(const std::string& className, int index, util::StringList* names,
                                 util::StringList* values) {
  LastError.clear();
  return ListInstanceProperties(backend_, regional_, {Host, Namespace, User, Password}, className,
                                index, names, values, LastError);
}

bool TWMI::ExecQuery(const std::string& queryText, ResultTable& table) {
  LastError.clear();
  return RunQuery(backend_, regional_, {Host, Namespace, User, Password}, queryText, table,
                  LastError);
}

bool TWMI::InstancesOf(const std::string& className, std::unique_ptr<ObjectSet>& set) {
  set.reset();
  LastError.clear();
  try {
    auto services = ConnectWmi(backend_, Host, Namespace, User, Password);
    set = services->InstancesOf(className, kFlagSemisync);
    return set != nullptr;
  } catch (const std::exception& e) {
    LastError = e.what();
    return false;
  }
}

bool TWMI::HasInstances(const std::string& className) {
  std::unique_ptr<ObjectSet> set;
  if (!InstancesOf(className, set)) return false;
  auto instances = set->NewEnum();  // a failure here reaches the caller, which guards it
  std::unique_ptr<Object> instance;
  return NextEnumItem(*instances, instance, LastError) && instance;
}

}  // namespace brevane::wmi
