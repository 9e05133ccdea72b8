#include "support/fake_scenarios.h"

#include <sstream>

#include "util/text.h"

namespace brevane::testing {

using wmi::ArrayBound;
using wmi::Value;

namespace {
constexpr const char* kCimv2 = "root\\cimv2";

// 2026-12-07 14:30 as a DMTF datetime, the form WMI hands out.
constexpr const char* kBootTime = "20261207143000.000000+060";
}  // namespace

void AddStandardWorld(FakeWmi& fake) {
  fake.AddNamespace("root");
  fake.AddNamespace("root\\default");
  const char* ns = kCimv2;
  fake.AddClass(ns, "Win32_Process", "",
                {"Caption", "Handle", "HandleCount", "Name", "ThreadCount"});
  const char* processes[] = {"System Idle Process", "System",       "smss.exe",     "csrss.exe",
                             "wininit.exe",         "services.exe", "explorer.exe", "brevane.exe"};
  int pid = 0;
  for (const char* name : processes) {
    fake.AddInstance(ns, "Win32_Process",
                     {{"Caption", Value::Text(name)},
                      {"Handle", Value::Text(std::to_string(pid))},
                      {"HandleCount", Value::Int(100 + pid * 7)},
                      {"Name", Value::Text(name)},
                      {"ThreadCount", Value::Int(1 + (pid * 5) % 23)}});
    pid += 4;
  }
  fake.AddClass(ns, "Win32_Service", "",
                {"Name", "DisplayName", "StartMode", "State", "AcceptStop"});
  const char* services[] = {"Audiosrv",     "BITS",     "Dhcp",     "Dnscache", "EventLog",
                            "LanmanServer", "Netlogon", "PlugPlay", "RpcSs",    "Schedule",
                            "Spooler",      "W32Time",  "Winmgmt"};
  int i = 0;
  for (const char* name : services) {
    fake.AddInstance(ns, "Win32_Service",
                     {{"Name", Value::Text(name)},
                      {"DisplayName", Value::Text(std::string(name) + " service")},
                      {"StartMode", Value::Text(i % 3 ? "Auto" : "Manual")},
                      {"State", Value::Text(i % 4 ? "Running" : "Stopped")},
                      {"AcceptStop", Value::Bool(i % 2 == 0)}});
    ++i;
  }
  fake.AddClass(ns, "Win32_OperatingSystem", "",
                {"Caption", "BuildNumber", "LastBootUpTime", "TotalVisibleMemorySize",
                 "MUILanguages", "Primary"});
  Value languages = Value::Array(wmi::kVtBstr, {ArrayBound{0, 1}});
  fake.AddInstance(ns, "Win32_OperatingSystem",
                   {{"Caption", Value::Text("Microsoft Windows 7 Professional")},
                    {"BuildNumber", Value::Text("7601")},
                    {"LastBootUpTime", Value::Text(kBootTime)},
                    {"TotalVisibleMemorySize", Value::Text("25165824")},
                    {"MUILanguages", languages},
                    {"Primary", Value::Bool(true)}});
  fake.AddClass(ns, "Win32_LogicalDisk", "",
                {"DeviceID", "FileSystem", "FreeSpace", "Size", "VolumeName"});
  fake.AddInstance(ns, "Win32_LogicalDisk",
                   {{"DeviceID", Value::Text("C:")},
                    {"FileSystem", Value::Text("NTFS")},
                    {"FreeSpace", Value::Text("53687091200")},
                    {"Size", Value::Text("274877906944")},
                    {"VolumeName", Value::Null()}});
  fake.AddInstance(ns, "Win32_LogicalDisk",
                   {{"DeviceID", Value::Text("D:")},
                    {"FileSystem", Value::Text("FAT32")},
                    {"FreeSpace", Value::Text("9")},
                    {"Size", Value::Text("10")},
                    {"VolumeName", Value::Text("\xE6\x95\xB0\xE6\x8D\xAE")}});  // 数据
  fake.AddClass(ns, "Win32_NetworkAdapterConfiguration", "",
                {"Index", "Description", "IPAddress", "DHCPEnabled"});
  fake.AddInstance(ns, "Win32_NetworkAdapterConfiguration",
                   {{"Index", Value::Int(0)},
                    {"Description", Value::Text("Loopback adapter")},
                    {"IPAddress", Value::Array(wmi::kVtBstr, {ArrayBound{0, 0}})},
                    {"DHCPEnabled", Value::Bool(false)}});
  fake.AddInstance(ns, "Win32_NetworkAdapterConfiguration",
                   {{"Index", Value::Int(1)},
                    {"Description", Value::Text("Ethernet adapter")},
                    {"IPAddress", Value::Array(wmi::kVtBstr, {ArrayBound{0, 1}})},
                    {"DHCPEnabled", Value::Bool(true)}});
  fake.AddClass(ns, "Win32_Printer", "", {"Name", "PortName"});
  fake.AddClass(ns, "Demo_NoLabel", "", {"Size", "Ratio"});
  for (int k = 0; k < 3; ++k) {
    fake.AddInstance(ns, "Demo_NoLabel",
                     {{"Size", Value::Int(10 * k)}, {"Ratio", Value::Real(0.5 * k)}});
  }
  fake.AddClass(ns, "Demo_Unicode", "", {"Name", "Note"});
  fake.AddInstance(ns, "Demo_Unicode",
                   {{"Name", Value::Text("\xE6\x9C\xAC\xE6\x9C\xBA")},  // 本机
                    {"Note", Value::Text("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82")}});
  fake.AddInstance(ns, "Demo_Unicode", {{"Name", Value::Null()}, {"Note", Value::Text("no name")}});
  // A hierarchy: a query over the base class returns objects with different property counts.
  fake.AddClass(ns, "CIM_LogicalElement", "", {"Name", "Caption"});
  fake.AddClass(ns, "Demo_Volume", "CIM_LogicalElement", {"Name", "Caption", "Capacity"});
  fake.AddInstance(ns, "CIM_LogicalElement",
                   {{"Name", Value::Text("element")}, {"Caption", Value::Text("Base")}});
  fake.AddInstance(ns, "Demo_Volume",
                   {{"Name", Value::Text("vol1")},
                    {"Caption", Value::Text("Volume 1")},
                    {"Capacity", Value::Int(64)}});
}

void AddBigClass(FakeWmi& fake, const std::string& className, int count, int properties) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(properties));
  names.push_back("Name");
  for (int p = 1; p < properties; ++p) names.push_back(Format("Property%d", p));
  fake.AddClass(kCimv2, className, "", names);
  for (int i = 0; i < count; ++i) {
    std::vector<wmi::Property> values;
    values.reserve(names.size());
    values.push_back({names[0], Value::Text(Format("item%d", i))});
    for (int p = 1; p < properties; ++p) {
      values.push_back(
          {names[static_cast<size_t>(p)], p % 2 ? Value::Int((i * 7919 + p) % 100003)
                                                : Value::Text(Format("text %d", i % 977))});
    }
    fake.AddInstance(kCimv2, className, std::move(values));
  }
}

std::shared_ptr<FakeWmi> MakeScenario(const std::string& names) {
  auto fake = std::make_shared<FakeWmi>();
  AddStandardWorld(*fake);
  std::stringstream list(names);
  std::string name;
  while (std::getline(list, name, ',')) {
    name = Trim(name);
    if (name == "big") {
      AddBigClass(*fake, "Brevane_Big", 30001, 3);
    } else if (name == "many-classes") {
      for (int c = 0; c < 100000; ++c) fake->AddClass(kCimv2, Format("Many_%06d", c), "", {"Name"});
    } else if (name == "million-cells") {
      AddBigClass(*fake, "Brevane_Million", 100000, 10);
    } else if (name == "big-value") {
      fake->AddClass(kCimv2, "Demo_BigValue", "", {"Name", "Blob"});
      fake->AddInstance(kCimv2, "Demo_BigValue",
                        {{"Name", Value::Text("blob")},
                         {"Blob", Value::Text(std::string(10 * 1024 * 1024, 'x'))}});
    } else if (name == "connect-fails") {
      fake->FailConnect(
          wmi::WmiError(fake_status::kRpcUnavailable, "The RPC server is unavailable"));
    } else if (name == "locator-missing") {
      fake->SetLocatorUnregistered(true);
    } else if (name == "hang") {
      // The background instance walks hang at their third element until stopped; the
      // window's own synchronous calls are not affected.
      fake->SetHangAt(2, "InstancesOf");
    } else if (name == "fail-first") {
      fake->AddEnumerationFault(
          {"", "", 0, true, wmi::WmiError(fake_status::kGenericFailure, "Generic failure")});
    } else if (name == "fail-kth") {
      fake->AddEnumerationFault(
          {"", "", 5, true, wmi::WmiError(fake_status::kGenericFailure, "Generic failure")});
    } else if (name == "property-fails") {
      fake->FailCall("PropertyValue",
                     wmi::WmiError(fake_status::kAccessDenied, "Access is denied"));
    } else if (name == "slow") {
      fake->SetElementDelay(std::chrono::milliseconds(10));
    } else if (name == "paced") {
      fake->SetPacedDelay(std::chrono::milliseconds(1), 10);
    } else if (name == "hang-query") {
      fake->SetHangAt(40, "ExecQuery");
    } else if (name == "vanishing") {
      fake->RemoveAfterWalk("Win32_Service", 12);
    } else if (name == "dead-host") {
      fake->HoldConnections(true);
    }
  }
  return fake;
}

}  // namespace brevane::testing
