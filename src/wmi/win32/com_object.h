#pragma once
// One WMI object (a class or an instance) of a connection.
#include <wbemidl.h>
#include <wrl/client.h>

#include <memory>

#include "wmi/wmi_api.h"
#include "wmi/win32/wmi_connection.h"

namespace brevane::wmi::win32 {

class ComObject final : public Object {
 public:
  ComObject(std::shared_ptr<const WmiConnection> connection,
            Microsoft::WRL::ComPtr<IWbemClassObject> object);

  std::string ClassName() override;
  std::unique_ptr<PropertyEnumerator> Properties() override;
  Value PropertyValue(const std::string& name) override;
  // Every instance of the object's class, subclasses' included.
  std::unique_ptr<ObjectSet> Instances(int32_t flags) override;
  std::string ObjectText(int32_t flags) override;
  PropertyQualifiers Qualifiers(const std::string& propertyName) override;

 private:
  // Kept for Instances, which asks the services the object came from.
  std::shared_ptr<const WmiConnection> connection_;
  Microsoft::WRL::ComPtr<IWbemClassObject> object_;
};

}  // namespace brevane::wmi::win32
