#pragma once
// Reading property data as plain text lists: a query's result table, a class's property
// names, one instance's names and values. Each call connects afresh.
#include <stop_token>
#include <string>
#include <vector>

#include "util/secret.h"
#include "util/string_list.h"
#include "wmi/regional_settings.h"
#include "wmi/result_table.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

// Every copy wipes its password when it goes.
struct ConnectionParams {
  std::string host;
  std::string ns;
  std::string user;
  std::string password;
  ~ConnectionParams() { util::WipeSecret(password); }
};

// errorText: "Error: " + the failure's message on failure.
bool RunQuery(Backend& backend, const RegionalSettings& regional, const ConnectionParams& conn,
              const std::string& queryText, ResultTable& table, std::string& errorText);
// A property of a class definition as the property grid shows it.
struct PropertyType {
  std::string name;
  std::string typeName;  // WMI's name of its CIM type (CimTypeName); empty when not reported
  bool key = false;
};

// errorText: the failure's message, without prefix. types, when given, receives each
// property's type; a property whose qualifiers cannot be read is listed without its key mark
// and object class.
bool ListClassProperties(Backend& backend, const ConnectionParams& conn,
                         const std::string& className, util::StringList& names,
                         std::string& errorText, std::vector<PropertyType>* types = nullptr);
// errorText: "Error: " + the failure's message. names or values may be null.
bool ListInstanceProperties(Backend& backend, const RegionalSettings& regional,
                            const ConnectionParams& conn, const std::string& className, int index,
                            util::StringList* names, util::StringList* values,
                            std::string& errorText);

// The same on a connection that is already open, for the worker threads that keep theirs.
// AppendObjectProperties walks one object's properties (names or values may be null) and
// returns how many it found; a failure while fetching the next one only ends the walk.
int AppendObjectProperties(Object& object, const RegionalSettings& regional,
                           util::StringList* names, util::StringList* values);
// A text property of an object (a system property such as __PATH or __SERVER too); empty when
// the object has none or its value is no text.
std::string TextPropertyOf(Object& object, const char* name);
// The same, raising WmiError on failure (names and types hold what came before it).
void ReadClassProperties(Services& services, const std::string& className, util::StringList& names,
                         std::vector<PropertyType>* types = nullptr);
bool ListClassPropertiesOn(Services& services, const std::string& className,
                           util::StringList& names, std::string& errorText,
                           std::vector<PropertyType>* types = nullptr);
// A stop request ends the walk early, with what was gathered so far.
bool ListInstancePropertiesOn(Services& services, const RegionalSettings& regional,
                              const std::string& className, int index, util::StringList* names,
                              util::StringList* values, std::string& errorText,
                              std::stop_token stop = {});

}  // namespace brevane::wmi
