#include "support/fake_scenarios.h"

#include <cstdint>
#include <sstream>

#include "support/fake_explore_world.h"
#include "support/fake_events.h"
#include "support/fake_fleet.h"
#include "support/fake_method_calls.h"
#include "support/fake_object_world.h"
#include "util/text.h"

namespace brevane::testing {

namespace {
constexpr const char* kCimv2 = "root\\cimv2";

// 2026-12-07 14:30 as a DMTF datetime, the form WMI hands out.
constexpr const char* kBootTime = "20261207143000.000000+060";

void AddTypesClass(FakeWmi& fake) {
  // One property of every CIM type, each at a value its VARIANT alone would misread.
  const std::vector<wmi::Property> values = {
      {"Name", cim::String("every type")},
      {"Sint8", cim::Sint8(-128)},
      {"Uint8", cim::Uint8(255)},
      {"Sint16", cim::Sint16(-32768)},
      {"Uint16", cim::Uint16(65535)},
      {"Sint32", cim::Sint32(-2147483647 - 1)},
      {"Uint32", cim::Uint32(4294967295u)},
      {"Sint64", cim::Sint64(INT64_MIN)},
      {"Uint64", cim::Uint64(UINT64_MAX)},
      {"Real32", cim::Real32(1.5f)},
      {"Real64", cim::Real64(-0.25)},
      {"Boolean", cim::Boolean(true)},
      {"String", cim::String("text")},
      {"Datetime", cim::Datetime(kBootTime)},
      {"Reference", cim::Reference("Win32_LogicalDisk.DeviceID=\"C:\"")},
      {"Char16", cim::Char16(u'\u6728')},  // 木
      {"Object", cim::Object()},
      {"Uint32Array", cim::Array(wmi::kCimUint32, 3)},
      {"Empty", cim::Null(wmi::kCimUint32)},
  };
  std::vector<std::string> names;
  for (const auto& p : values) names.push_back(p.name);
  fake.AddClass(kCimv2, "Demo_Types", "", std::move(names));
  fake.AddInstance(kCimv2, "Demo_Types", values);
}

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
                     {{"Caption", cim::String(name)},
                      {"Handle", cim::String(std::to_string(pid))},
                      {"HandleCount", cim::Uint32(static_cast<uint32_t>(100 + pid * 7))},
                      {"Name", cim::String(name)},
                      {"ThreadCount", cim::Uint32(static_cast<uint32_t>(1 + (pid * 5) % 23))}});
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
                     {{"Name", cim::String(name)},
                      {"DisplayName", cim::String(std::string(name) + " service")},
                      {"StartMode", cim::String(i % 3 ? "Auto" : "Manual")},
                      {"State", cim::String(i % 4 ? "Running" : "Stopped")},
                      {"AcceptStop", cim::Boolean(i % 2 == 0)}});
    ++i;
  }
  fake.AddClass(ns, "Win32_OperatingSystem", "",
                {"Caption", "BuildNumber", "LastBootUpTime", "TotalVisibleMemorySize",
                 "MUILanguages", "Primary", "MaxNumberOfProcesses"});
  fake.AddInstance(ns, "Win32_OperatingSystem",
                   {{"Caption", cim::String("Microsoft Windows 7 Professional")},
                    {"BuildNumber", cim::String("7601")},
                    {"LastBootUpTime", cim::Datetime(kBootTime)},
                    {"TotalVisibleMemorySize", cim::Uint64(25165824)},
                    {"MUILanguages", cim::Array(wmi::kCimString, 2)},
                    {"Primary", cim::Boolean(true)},
                    {"MaxNumberOfProcesses", cim::Uint32(4294967295u)}});
  fake.AddClass(ns, "Win32_LogicalDisk", "",
                {"DeviceID", "FileSystem", "FreeSpace", "Size", "VolumeName"});
  fake.AddInstance(ns, "Win32_LogicalDisk",
                   {{"DeviceID", cim::String("C:")},
                    {"FileSystem", cim::String("NTFS")},
                    {"FreeSpace", cim::Uint64(53687091200)},
                    {"Size", cim::Uint64(274877906944)},
                    {"VolumeName", cim::Null(wmi::kCimString)}});
  fake.AddInstance(ns, "Win32_LogicalDisk",
                   {{"DeviceID", cim::String("D:")},
                    {"FileSystem", cim::String("FAT32")},
                    {"FreeSpace", cim::Uint64(9)},
                    {"Size", cim::Uint64(10)},
                    {"VolumeName", cim::String("\xE6\x95\xB0\xE6\x8D\xAE")}});  // 数据
  fake.AddClass(ns, "Win32_NetworkAdapterConfiguration", "",
                {"Index", "Description", "IPAddress", "DHCPEnabled"});
  fake.AddInstance(ns, "Win32_NetworkAdapterConfiguration",
                   {{"Index", cim::Uint32(0)},
                    {"Description", cim::String("Loopback adapter")},
                    {"IPAddress", cim::Array(wmi::kCimString, 1)},
                    {"DHCPEnabled", cim::Boolean(false)}});
  fake.AddInstance(ns, "Win32_NetworkAdapterConfiguration",
                   {{"Index", cim::Uint32(1)},
                    {"Description", cim::String("Ethernet adapter")},
                    {"IPAddress", cim::Array(wmi::kCimString, 2)},
                    {"DHCPEnabled", cim::Boolean(true)}});
  // The keys of the class definitions, as the platform declares them.
  fake.SetQualifiers(ns, "Win32_Process", "Handle", {true, ""});
  fake.SetQualifiers(ns, "Win32_Service", "Name", {true, ""});
  fake.SetQualifiers(ns, "Win32_LogicalDisk", "DeviceID", {true, ""});
  fake.SetQualifiers(ns, "Win32_NetworkAdapterConfiguration", "Index", {true, ""});
  fake.AddClass(ns, "Win32_Printer", "", {"Name", "PortName"}, {wmi::kCimString, wmi::kCimString});
  fake.AddClass(ns, "Demo_NoLabel", "", {"Size", "Ratio"});
  for (int k = 0; k < 3; ++k) {
    fake.AddInstance(
        ns, "Demo_NoLabel",
        {{"Size", cim::Uint32(static_cast<uint32_t>(10 * k))}, {"Ratio", cim::Real64(0.5 * k)}});
  }
  fake.AddClass(ns, "Demo_Unicode", "", {"Name", "Note"});
  fake.AddInstance(ns, "Demo_Unicode",
                   {{"Name", cim::String("\xE6\x9C\xAC\xE6\x9C\xBA")},  // 本机
                    {"Note", cim::String("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82")}});
  fake.AddInstance(ns, "Demo_Unicode",
                   {{"Name", cim::Null(wmi::kCimString)}, {"Note", cim::String("no name")}});
  // A hierarchy: a query over the base class returns objects with different property counts.
  fake.AddClass(ns, "CIM_LogicalElement", "", {"Name", "Caption"});
  fake.AddClass(ns, "Demo_Volume", "CIM_LogicalElement", {"Name", "Caption", "Capacity"});
  fake.AddInstance(ns, "CIM_LogicalElement",
                   {{"Name", cim::String("element")}, {"Caption", cim::String("Base")}});
  fake.AddInstance(ns, "Demo_Volume",
                   {{"Name", cim::String("vol1")},
                    {"Caption", cim::String("Volume 1")},
                    {"Capacity", cim::Uint64(64)}});
  AddTypesClass(fake);
}

void AddBigClass(FakeWmi& fake, const std::string& className, int count, int properties) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(properties));
  names.push_back("Name");
  for (int p = 1; p < properties; ++p) names.push_back(util::Format("Property%d", p));
  fake.AddClass(kCimv2, className, "", names);
  for (int i = 0; i < count; ++i) {
    std::vector<wmi::Property> values;
    values.reserve(names.size());
    values.push_back({names[0], cim::String(util::Format("item%d", i))});
    for (int p = 1; p < properties; ++p) {
      values.push_back({names[static_cast<size_t>(p)],
                        p % 2 ? cim::Uint32(static_cast<uint32_t>((i * 7919 + p) % 100003))
                              : cim::String(util::Format("text %d", i % 977))});
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
    name = util::Trim(name);
    if (name == "big") {
      AddBigClass(*fake, "Brevane_Big", 30001, 3);
    } else if (name == "many-classes") {
      for (int c = 0; c < 100000; ++c)
        fake->AddClass(kCimv2, util::Format("Many_%06d", c), "", {"Name"});
    } else if (name == "million-cells") {
      AddBigClass(*fake, "Brevane_Million", 100000, 10);
    } else if (name == "big-value") {
      fake->AddClass(kCimv2, "Demo_BigValue", "", {"Name", "Blob"});
      fake->AddInstance(kCimv2, "Demo_BigValue",
                        {{"Name", cim::String("blob")},
                         {"Blob", cim::String(std::string(10 * 1024 * 1024, 'x'))}});
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
    } else if (name == "explore") {
      AddExploreWorld(*fake);
    } else if (name == "many-namespaces") {
      AddManyNamespaces(*fake, 50, 1000);
    } else if (name == "objects") {
      AddObjectWorld(*fake);
      AddObjectWorldMethods(*fake);
    } else if (name == "many-related") {
      AddObjectWorld(*fake);
      AddManyRelated(*fake, 12000);
    } else if (name == "fleet") {
      AddFleet(*fake, FleetPlan{});
    } else if (name == "events") {
      AddEventWorld(*fake, std::chrono::milliseconds(200));
    }
  }
  return fake;
}

}  // namespace brevane::testing
