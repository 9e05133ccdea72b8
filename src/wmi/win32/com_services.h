#pragma once
// The services of one connection to a WMI namespace.
#include <memory>

#include "wmi/wmi_api.h"
#include "wmi/win32/wmi_connection.h"

namespace brevane::wmi::win32 {

// Flags are those of the scripting interface; the return-immediately (16) and forward-only (32)
// bits have the same values in the native API and are passed on, others are dropped.
class ComServices final : public Services {
 public:
  explicit ComServices(std::shared_ptr<const WmiConnection> connection);

  // Every class below superclass ("" for the whole namespace), at every depth.
  std::unique_ptr<ObjectSet> SubclassesOf(const std::string& superclass, int32_t flags) override;
  // Every instance of the class, subclasses' included.
  std::unique_ptr<ObjectSet> InstancesOf(const std::string& className, int32_t flags) override;
  // path: a class name or an instance's relative path.
  std::unique_ptr<Object> Get(const std::string& path, int32_t flags) override;
  std::unique_ptr<ObjectSet> ExecQuery(const std::string& query, const std::string& language,
                                       int32_t flags) override;
  ClassDefinition GetClassDefinition(const std::string& className) override;
  std::unique_ptr<Object> ExecMethod(const std::string& objectPath, const std::string& method,
                                     const std::vector<MethodArgument>& arguments) override;
  // Semisynchronous; each wait for the next event is short (kEventWaitMilliseconds), and a
  // time-out is "no event yet", never the end.
  std::unique_ptr<ObjectEnumerator> ExecNotificationQuery(const std::string& query,
                                                          const std::string& language) override;

  static constexpr long kEventWaitMilliseconds = 100;

 private:
  std::unique_ptr<ObjectSet> MakeSet(framework::ComRef<IEnumWbemClassObject> enumerator) const;

  std::shared_ptr<const WmiConnection> connection_;
};

}  // namespace brevane::wmi::win32
