#pragma once
// One WMI object (a class or an instance) of a connection.
#include <wbemidl.h>

#include <memory>

#include "framework/com_ref.h"
#include "wmi/win32/wmi_connection.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

class ComObject final : public Object {
 public:
  ComObject(std::shared_ptr<const WmiConnection> connection,
            framework::ComRef<IWbemClassObject> object);

  std::string ClassName() override;
  std::unique_ptr<PropertyEnumerator> Properties() override;
  Value PropertyValue(const std::string& name) override;
  // Every instance of the object's class, subclasses' included.
  std::unique_ptr<ObjectSet> Instances(int32_t flags) override;
  std::string ObjectText(int32_t flags) override;
  PropertyQualifiers Qualifiers(const std::string& propertyName) override;
  std::unique_ptr<Object> EmbeddedObject(const std::string& propertyName) override;

 private:
  // Kept for Instances, which asks the services the object came from.
  std::shared_ptr<const WmiConnection> connection_;
  framework::ComRef<IWbemClassObject> object_;
};

}  // namespace brevane::wmi::win32
