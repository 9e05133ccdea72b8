#include "wmi/win32/com_services.h"

#include "framework/win32/com_bstr.h"
#include "util/text.h"
#include "wmi/win32/com_class_definition.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_method_call.h"
#include "wmi/win32/com_object.h"
#include "wmi/win32/com_object_enumerator.h"
#include "wmi/win32/com_object_set.h"

namespace brevane::wmi::win32 {

namespace {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;

long EnumerationFlags(int32_t flags) {
  constexpr long kPassedOn =
      static_cast<long>(WBEM_FLAG_RETURN_IMMEDIATELY) | static_cast<long>(WBEM_FLAG_FORWARD_ONLY);
  return static_cast<long>(flags) & kPassedOn;
}

}  // namespace

ComServices::ComServices(std::shared_ptr<const WmiConnection> connection)
    : connection_(std::move(connection)) {}

std::unique_ptr<ObjectSet> ComServices::MakeSet(ComRef<IEnumWbemClassObject> enumerator) const {
  if (!enumerator) ThrowRefused(WBEM_E_FAILED);
  connection_->Secure(enumerator.Get());
  return std::make_unique<ComObjectSet>(connection_, std::move(enumerator));
}

std::unique_ptr<ObjectSet> ComServices::SubclassesOf(const std::string& superclass, int32_t flags) {
  // No superclass is a null string here, which the platform reads as "from the top".
  Bstr wideSuperclass;
  if (!superclass.empty()) wideSuperclass = Bstr::FromUtf8(superclass);
  ComRef<IEnumWbemClassObject> enumerator;
  ClearComErrorInfo();
  ThrowIfFailed(connection_->Services()->CreateClassEnum(
      wideSuperclass.Get(), static_cast<long>(WBEM_FLAG_DEEP) | EnumerationFlags(flags), nullptr,
      enumerator.Receive()));
  return MakeSet(std::move(enumerator));
}

std::unique_ptr<ObjectSet> ComServices::InstancesOf(const std::string& className, int32_t flags) {
  // An empty class name crashes some WMI implementations and names no class anywhere.
  if (util::Trim(className).empty()) ThrowRefused(WBEM_E_INVALID_CLASS);
  const Bstr wideClass = Bstr::FromUtf8(className);
  ComRef<IEnumWbemClassObject> enumerator;
  ClearComErrorInfo();
  ThrowIfFailed(connection_->Services()->CreateInstanceEnum(
      wideClass.Get(), static_cast<long>(WBEM_FLAG_DEEP) | EnumerationFlags(flags), nullptr,
      enumerator.Receive()));
  return MakeSet(std::move(enumerator));
}

std::unique_ptr<Object> ComServices::Get(const std::string& path, int32_t /*flags*/) {
  // An empty path gives an unusable object on some WMI implementations (reading it crashes).
  if (util::Trim(path).empty()) ThrowRefused(WBEM_E_INVALID_OBJECT_PATH);
  const Bstr widePath = Bstr::FromUtf8(path);
  ComRef<IWbemClassObject> object;
  ClearComErrorInfo();
  ThrowIfFailed(
      connection_->Services()->GetObject(widePath.Get(), 0, nullptr, object.Receive(), nullptr));
  if (!object) ThrowRefused(WBEM_E_NOT_FOUND);
  return std::make_unique<ComObject>(connection_, std::move(object));
}

std::unique_ptr<ObjectSet> ComServices::ExecQuery(const std::string& query,
                                                  const std::string& language, int32_t flags) {
  if (util::Trim(language).empty()) ThrowRefused(WBEM_E_INVALID_QUERY_TYPE);
  if (util::Trim(query).empty()) ThrowRefused(WBEM_E_INVALID_QUERY);
  const Bstr wideLanguage = Bstr::FromUtf8(language);
  const Bstr wideQuery = Bstr::FromUtf8(query);
  ComRef<IEnumWbemClassObject> enumerator;
  ClearComErrorInfo();
  ThrowIfFailed(connection_->Services()->ExecQuery(
      wideLanguage.Get(), wideQuery.Get(), EnumerationFlags(flags), nullptr, enumerator.Receive()));
  return MakeSet(std::move(enumerator));
}

std::unique_ptr<ObjectEnumerator> ComServices::ExecNotificationQuery(const std::string& query,
                                                                     const std::string& language) {
  if (util::Trim(language).empty()) ThrowRefused(WBEM_E_INVALID_QUERY_TYPE);
  if (util::Trim(query).empty()) ThrowRefused(WBEM_E_INVALID_QUERY);
  const Bstr wideLanguage = Bstr::FromUtf8(language);
  const Bstr wideQuery = Bstr::FromUtf8(query);
  ComRef<IEnumWbemClassObject> enumerator;
  ClearComErrorInfo();
  // Both flags: the only form that returns at once and lets Next wait in short slices.
  ThrowIfFailed(connection_->Services()->ExecNotificationQuery(
      wideLanguage.Get(), wideQuery.Get(),
      static_cast<long>(WBEM_FLAG_RETURN_IMMEDIATELY) | static_cast<long>(WBEM_FLAG_FORWARD_ONLY),
      nullptr, enumerator.Receive()));
  if (!enumerator) ThrowRefused(WBEM_E_FAILED);
  connection_->Secure(enumerator.Get());
  return std::make_unique<ComObjectEnumerator>(connection_, std::move(enumerator),
                                               kEventWaitMilliseconds);
}

ClassDefinition ComServices::GetClassDefinition(const std::string& className) {
  return ReadClassDefinition(connection_->Services(), className);
}

std::unique_ptr<Object> ComServices::ExecMethod(const std::string& objectPath,
                                                const std::string& method,
                                                const std::vector<MethodArgument>& arguments) {
  return CallMethod(connection_, objectPath, method, arguments);
}

}  // namespace brevane::wmi::win32
