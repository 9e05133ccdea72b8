#include "wmi/query_ops.h"

#include <gtest/gtest.h>

#include <map>

#include "support/fake_scenarios.h"
#include "support/fake_wmi.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {
namespace {

using testing::FakeWmi;
namespace status = testing::fake_status;

class QueryOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string ns = "root\\cimv2";
    fake.AddClass(ns, "CIM_Element", "", {"Name", "Caption"});
    fake.AddClass(ns, "Demo_Disk", "CIM_Element", {"Name", "Caption", "Size"});
    fake.AddClass(ns, "Demo_Empty", "", {"Name"});
    fake.AddClass(ns, "Demo_NoProps", "", {});
    fake.AddInstance(ns, "CIM_Element",
                     {{"Name", Value::Text("base")}, {"Caption", Value::Text("Base")}});
    fake.AddInstance(
        ns, "Demo_Disk",
        {{"Name", Value::Text("C:")}, {"Caption", Value::Null()}, {"Size", Value::Text("100")}});
    fake.AddInstance(ns, "Demo_Disk",
                     {{"Name", Value::Text("D:")},
                      {"Caption", Value::Text(" spaced ")},
                      {"Size", Value::Text("7")}});
  }
  FakeWmi fake;
  const RegionalSettings regional{};
  const ConnectionParams conn{".", "root\\cimv2", "", ""};
  ResultTable table;
  std::string error;
};

TEST_F(QueryOpsTest, AlignedResultLayout) {
  ASSERT_TRUE(RunQuery(fake, regional, conn, "select Name, Size from Demo_Disk", table, error));
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(table.cols, 2);
  EXPECT_EQ(table.columnNames, (util::StringList{"Name", "Size", "Name", "Size"}));
  EXPECT_EQ(table.values, (util::StringList{"C:", "100", "D:", "7"}));
  EXPECT_EQ(table.rowLengths, (std::vector<int>{2, 2}));
}

TEST_F(QueryOpsTest, UnalignedResultKeepsEachObjectsOwnProperties) {
  ASSERT_TRUE(RunQuery(fake, regional, conn, "select * from CIM_Element", table, error));
  EXPECT_EQ(table.rows, 3);
  EXPECT_EQ(table.cols, 3);
  EXPECT_EQ(table.columnNames.size(), 8u);
  EXPECT_EQ(table.values,
            (util::StringList{"base", "Base", "C:", "", "100", "D:", " spaced ", "7"}));
  EXPECT_EQ(table.rowLengths, (std::vector<int>{2, 3, 3}));
}

TEST_F(QueryOpsTest, EmptyResultAndStaleOutputsCleared) {
  table.columnNames = {"old"};
  table.values = {"old"};
  table.rows = table.cols = 9;
  ASSERT_TRUE(RunQuery(fake, regional, conn, "select * from Demo_Empty", table, error));
  EXPECT_EQ(table.rows, 0);
  EXPECT_EQ(table.cols, 0);
  EXPECT_TRUE(table.columnNames.empty());
  EXPECT_TRUE(table.values.empty());
}

TEST_F(QueryOpsTest, QueryFailuresCarryThePrefix) {
  EXPECT_FALSE(RunQuery(fake, regional, conn, "selec Name frm Demo_Disk", table, error));
  EXPECT_EQ(error, "Error: Invalid query");
  EXPECT_FALSE(RunQuery(fake, regional, conn, "select * from Nope", table, error));
  EXPECT_EQ(error, "Error: Invalid class");
  const ConnectionParams elsewhere{".", "root\\nosuch", "", ""};
  EXPECT_FALSE(RunQuery(fake, regional, elsewhere, "select * from Demo_Disk", table, error));
  EXPECT_EQ(error, "Error: Invalid namespace");
}

TEST_F(QueryOpsTest, FailureWhileFetchingAnObjectEndsTheWalkButSucceeds) {
  fake.AddEnumerationFault(
      {"ExecQuery", "", 1, true, WmiError(status::kGenericFailure, "Generic failure")});
  ASSERT_TRUE(RunQuery(fake, regional, conn, "select * from CIM_Element", table, error));
  EXPECT_EQ(table.rows, 1);
  EXPECT_EQ(error, "Generic failure");  // kept, without prefix
  fake.ClearFaults();
  fake.AddEnumerationFault({"ExecQuery", "", 2, false, WmiError(status::kGenericFailure, "quiet")});
  ASSERT_TRUE(RunQuery(fake, regional, conn, "select * from CIM_Element", table, error));
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(error, "");
}

TEST_F(QueryOpsTest, FailureAfterConnectKeepsWhatWasCollected) {
  fake.FailCall("Properties", WmiError(status::kGenericFailure, "Generic failure"));
  EXPECT_FALSE(RunQuery(fake, regional, conn, "select * from CIM_Element", table, error));
  EXPECT_EQ(table.rows, 1);
  EXPECT_EQ(error, "Error: Generic failure");
}

TEST_F(QueryOpsTest, ClassPropertiesWithoutPrefix) {
  util::StringList names{"stale"};
  ASSERT_TRUE(ListClassProperties(fake, conn, "Demo_Disk", names, error));
  EXPECT_EQ(names, (util::StringList{"Name", "Caption", "Size"}));
  ASSERT_TRUE(ListClassProperties(fake, conn, "Demo_NoProps", names, error));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(ListClassProperties(fake, conn, "Nope", names, error));
  EXPECT_EQ(error, "Not found");
}

TEST_F(QueryOpsTest, ClassPropertyTypesAndKeys) {
  const std::string ns = "root\\cimv2";
  fake.AddClass(ns, "Demo_Link", "", {"Id", "Target", "Tags", "Owner", "Extra"},
                {kCimUint32, kCimReference, kCimString | kCimArrayFlag, kCimObject, kCimUnknown});
  fake.SetQualifiers(ns, "Demo_Link", "Id", {true, ""});
  fake.SetQualifiers(ns, "Demo_Link", "Target", {true, "CIM_LogicalDisk"});
  fake.SetQualifiers(ns, "Demo_Link", "Owner", {false, "Win32_Account"});
  util::StringList names;
  std::vector<PropertyType> types{{"stale", "", false}};
  ASSERT_TRUE(ListClassProperties(fake, conn, "Demo_Link", names, error, &types));
  ASSERT_EQ(types.size(), 5u);
  const std::vector<std::pair<std::string, bool>> expected = {{"uint32", true},
                                                              {"ref:CIM_LogicalDisk", true},
                                                              {"string[]", false},
                                                              {"object:Win32_Account", false},
                                                              {"", false}};
  for (size_t i = 0; i < types.size(); ++i) {
    EXPECT_EQ(types[i].name, names[i]);
    EXPECT_EQ(types[i].typeName, expected[i].first) << names[i];
    EXPECT_EQ(types[i].key, expected[i].second) << names[i];
  }
  // Qualifiers that cannot be read leave the types without their marks.
  fake.FailCall("Qualifiers", WmiError(status::kAccessDenied, "Access denied"));
  ASSERT_TRUE(ListClassProperties(fake, conn, "Demo_Link", names, error, &types));
  EXPECT_EQ(types[0].typeName, "uint32");
  EXPECT_FALSE(types[0].key);
  EXPECT_EQ(types[3].typeName, "object");
}

TEST_F(QueryOpsTest, InstancePropertiesByPosition) {
  util::StringList names;
  util::StringList values;
  ASSERT_TRUE(ListInstanceProperties(fake, regional, conn, "Demo_Disk", 1, &names, &values, error));
  EXPECT_EQ(names, (util::StringList{"Name", "Caption", "Size"}));
  EXPECT_EQ(values, (util::StringList{"D:", " spaced ", "7"}));
  ASSERT_TRUE(
      ListInstanceProperties(fake, regional, conn, "Demo_Disk", 0, nullptr, &values, error));
  EXPECT_EQ(values, (util::StringList{"C:", "", "100"}));
  EXPECT_EQ(names.size(), 3u);  // absent list untouched
  ASSERT_TRUE(ListInstanceProperties(fake, regional, conn, "Demo_Disk", 2, &names, &values, error));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(values.empty());
  // The base class's instance set includes the subclass's instances.
  ASSERT_TRUE(
      ListInstanceProperties(fake, regional, conn, "CIM_Element", 2, &names, &values, error));
  EXPECT_EQ(values.front(), "D:");
  EXPECT_FALSE(ListInstanceProperties(fake, regional, conn, "Nope", 0, &names, &values, error));
  EXPECT_EQ(error, "Error: Not found");
}

// Values reach the listings as the native API hands them over, and read as their CIM type.
TEST(QueryOpsTypedValuesTest, EveryCimTypeReadsAsItself) {
  FakeWmi world;
  testing::AddStandardWorld(world);
  const ConnectionParams conn{".", "root\\cimv2", "", ""};
  std::string error;
  util::StringList names;
  util::StringList values;
  ASSERT_TRUE(ListInstanceProperties(world, RegionalSettings{}, conn, "Demo_Types", 0, &names,
                                     &values, error));
  ASSERT_EQ(names.size(), values.size());
  const std::map<std::string, std::string> expected = {
      {"Sint8", "-128"},
      {"Uint8", "255"},
      {"Sint16", "-32768"},
      {"Uint16", "65535"},
      {"Sint32", "-2147483648"},
      {"Uint32", "4294967295"},
      {"Sint64", "-9223372036854775808"},
      {"Uint64", "18446744073709551615"},
      {"Real32", "1.5"},
      {"Real64", "-0.25"},
      {"Boolean", "-1"},
      {"Datetime", "20261207143000.000000+060"},
      {"Reference", "Win32_LogicalDisk.DeviceID=\"C:\""},
      {"Char16", "\xE6\x9C\xA8"},
      {"Object", "Invalid variant type conversion"},
      {"Uint32Array", "array[0..2]"},
      {"Empty", ""},
  };
  std::map<std::string, std::string> listed;
  for (size_t i = 0; i < names.size(); ++i) listed[names[i]] = values[i];
  for (const auto& [name, text] : expected) EXPECT_EQ(listed[name], text) << name;
  ResultTable table;
  ASSERT_TRUE(RunQuery(world, RegionalSettings{}, conn,
                       "select MaxNumberOfProcesses from Win32_OperatingSystem", table, error));
  EXPECT_EQ(table.values, (util::StringList{"4294967295"}));
}

}  // namespace
}  // namespace brevane::wmi
