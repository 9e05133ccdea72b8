#pragma once
// TWMI: the client through which the window makes every WMI request that it waits for. It
// keeps only the connection parameters and the last failure text; each operation connects
// afresh and never lets a failure escape (HasInstances aside, see there).
#include <memory>
#include <string>

#include "util/string_list.h"
#include "wmi/regional_settings.h"
#include "wmi/result_table.h"
#include "wmi/query_ops.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

class TWMI {
 public:
  TWMI(Backend& backend, RegionalSettings regional);
  ~TWMI();
  TWMI(const TWMI&) = delete;
  TWMI& operator=(const TWMI&) = delete;

  std::string Host = ".";
  std::string Namespace = "root\\cimv2";
  std::string User;
  std::string Password;
  std::string LastError;

  void SetHost(const std::string& host);     // empty gives "."
  void SetNamespace(const std::string& ns);  // empty gives "root\cimv2"
  bool CheckLocator();
  bool GetClasses(util::StringList& items);  // appends, unsorted
  // types, when given, receives each property's type and key mark.
  bool GetClassProperties(const std::string& className, util::StringList& names,
                          std::vector<PropertyType>* types = nullptr);
  // names or values may be null: an absent list is neither emptied nor filled.
  bool GetInstanceProperties(const std::string& className, int index, util::StringList* names,
                             util::StringList* values);
  bool ExecQuery(const std::string& queryText, ResultTable& table);
  bool InstancesOf(const std::string& className, std::unique_ptr<ObjectSet>& set);
  // Raises WmiError when the set's enumerator cannot be taken; the caller guards it.
  bool HasInstances(const std::string& className);

  const RegionalSettings& Regional() const { return regional_; }

 private:
  Backend& backend_;
  RegionalSettings regional_;
};

}  // namespace brevane::wmi
