#include "wmi/query_ops.h"

#include <exception>

#include "wmi/cim_type.h"
#include "wmi/value_text.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi {

std::string TextPropertyOf(Object& object, const char* name) {
  try {
    const Value value = object.PropertyValue(name);
    return value.type == kVtBstr ? value.text : std::string();
  } catch (const WmiError&) {
    return {};  // the class has no such property
  }
}

// A failure while fetching the next property only ends this object's walk, and its text is
// dropped.
int AppendObjectProperties(Object& object, const RegionalSettings& regional,
                           util::StringList* names, util::StringList* values) {
  auto properties = object.Properties();
  std::string scratch;
  Property property;
  int count = 0;
  while (NextEnumItem(*properties, property, scratch)) {
    if (names) names->push_back(std::move(property.name));
    if (values) values->push_back(ValueToText(property.value, regional));
    ++count;
  }
  return count;
}

bool RunQuery(Backend& backend, const RegionalSettings& regional, const ConnectionParams& conn,
              const std::string& queryText, ResultTable& table, std::string& errorText) {
  errorText.clear();
  table.Clear();
  try {
    auto services = ConnectWmi(backend, conn.host, conn.ns, conn.user, conn.password);
    auto set = services->ExecQuery(queryText, "WQL", 0);
    auto objects = set->NewEnum();
    std::unique_ptr<Object> object;
    while (NextEnumItem(*objects, object, errorText)) {
      ++table.rows;
      const int n = AppendObjectProperties(*object, regional, &table.columnNames, &table.values);
      table.rowLengths.push_back(n);
      if (n > table.cols) table.cols = n;
    }
    return true;
  } catch (const std::exception& e) {
    errorText = std::string("Error: ") + e.what();
    return false;
  }
}

bool ListClassProperties(Backend& backend, const ConnectionParams& conn,
                         const std::string& className, util::StringList& names,
                         std::string& errorText, std::vector<PropertyType>* types) {
  errorText.clear();
  names.clear();
  if (types) types->clear();
  try {
    auto services = ConnectWmi(backend, conn.host, conn.ns, conn.user, conn.password);
    return ListClassPropertiesOn(*services, className, names, errorText, types);
  } catch (const std::exception& e) {
    errorText = e.what();
    return false;
  }
}

void ReadClassProperties(Services& services, const std::string& className, util::StringList& names,
                         std::vector<PropertyType>* types) {
  names.clear();
  if (types) types->clear();
  auto classObject = services.Get(className, 0);
  auto properties = classObject->Properties();
  std::string scratch;
  Property property;
  while (NextEnumItem(*properties, property, scratch)) {
    if (types) {
      PropertyQualifiers qualifiers;
      try {
        qualifiers = classObject->Qualifiers(property.name);
      } catch (const std::exception&) {
        // The type without its key mark is still worth showing.
      }
      types->push_back({property.name, CimTypeName(property.value.cimType, qualifiers.objectClass),
                        qualifiers.key});
    }
    names.push_back(std::move(property.name));
  }
}

bool ListClassPropertiesOn(Services& services, const std::string& className,
                           util::StringList& names, std::string& errorText,
                           std::vector<PropertyType>* types) {
  errorText.clear();
  try {
    ReadClassProperties(services, className, names, types);
    return true;
  } catch (const std::exception& e) {
    errorText = e.what();
    return false;
  }
}

bool ListInstanceProperties(Backend& backend, const RegionalSettings& regional,
                            const ConnectionParams& conn, const std::string& className, int index,
                            util::StringList* names, util::StringList* values,
                            std::string& errorText) {
  errorText.clear();
  if (names) names->clear();
  if (values) values->clear();
  try {
    auto services = ConnectWmi(backend, conn.host, conn.ns, conn.user, conn.password);
    return ListInstancePropertiesOn(*services, regional, className, index, names, values,
                                    errorText);
  } catch (const std::exception& e) {
    errorText = std::string("Error: ") + e.what();
    return false;
  }
}

bool ListInstancePropertiesOn(Services& services, const RegionalSettings& regional,
                              const std::string& className, int index, util::StringList* names,
                              util::StringList* values, std::string& errorText,
                              std::stop_token stop) {
  errorText.clear();
  if (names) names->clear();
  if (values) values->clear();
  try {
    auto classObject = services.Get(className, 0);
    auto set = classObject->Instances(0);
    auto instances = set->NewEnum();
    std::unique_ptr<Object> instance;
    // Nothing after the wanted instance can change the answer, so the walk ends there instead
    // of paying for the rest of a large class.
    for (int i = 0; i <= index && NextEnumItem(*instances, instance, errorText, stop); ++i) {
      if (i == index) AppendObjectProperties(*instance, regional, names, values);
    }
    return true;
  } catch (const std::exception& e) {
    errorText = std::string("Error: ") + e.what();
    return false;
  }
}

}  // namespace brevane::wmi
