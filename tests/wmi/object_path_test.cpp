#include "wmi/object_path.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

struct PathCase {
  const char* text;
  const char* server;
  const char* nameSpace;
  const char* className;
  std::vector<ObjectPathKey> keys;
  const char* relativePath;  // what RelativePath gives back
};

TEST(ObjectPathTest, SplitsServerNamespaceClassAndKeys) {
  const PathCase cases[] = {
      {"Win32_Service", "", "", "Win32_Service", {}, "Win32_Service"},
      {R"(Win32_Service.Name="Spooler")",
       "",
       "",
       "Win32_Service",
       {{"Name", "Spooler", true}},
       R"(Win32_Service.Name="Spooler")"},
      {R"(\\SRV.corp.example\root\cimv2:Win32_LogicalDisk.DeviceID="C:")",
       "SRV.corp.example",
       R"(root\cimv2)",
       "Win32_LogicalDisk",
       {{"DeviceID", "C:", true}},
       R"(Win32_LogicalDisk.DeviceID="C:")"},
      {"//./root/cimv2:Win32_Process.Handle=42",
       ".",
       R"(root\cimv2)",
       "Win32_Process",
       {{"Handle", "42", false}},
       "Win32_Process.Handle=42"},
      {R"(root\default:StdRegProv)", "", R"(root\default)", "StdRegProv", {}, "StdRegProv"},
      {R"(Brevane_Item="a \"quoted\" C:\\dir")",
       "",
       "",
       "Brevane_Item",
       {{"", R"(a "quoted" C:\dir)", true}},
       R"(Brevane_Item="a \"quoted\" C:\\dir")"},
      {R"(  A.K1 = "x,y" , K2=TRUE )",
       "",
       "",
       "A",
       {{"K1", "x,y", true}, {"K2", "TRUE", false}},
       R"(A.K1="x,y",K2=TRUE)"},
      // A reference inside a key value, as association instances have them.
      {R"(Dep.Antecedent="\\\\.\\root:Svc.Name=\"a\"",Dependent="Svc.Name=\"b\"")",
       "",
       "",
       "Dep",
       {{"Antecedent", R"(\\.\root:Svc.Name="a")", true}, {"Dependent", R"(Svc.Name="b")", true}},
       R"(Dep.Antecedent="\\\\.\\root:Svc.Name=\"a\"",Dependent="Svc.Name=\"b\"")"},
      {"Win32_OperatingSystem=@", "", "", "Win32_OperatingSystem", {}, "Win32_OperatingSystem=@"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.text);
    const ObjectPathParse parse = ParseObjectPath(c.text);
    ASSERT_TRUE(parse.path) << parse.error;
    EXPECT_EQ(parse.path->server, c.server);
    EXPECT_EQ(parse.path->nameSpace, c.nameSpace);
    EXPECT_EQ(parse.path->className, c.className);
    ASSERT_EQ(parse.path->keys.size(), c.keys.size());
    for (size_t i = 0; i < c.keys.size(); ++i) {
      EXPECT_EQ(parse.path->keys[i].name, c.keys[i].name);
      EXPECT_EQ(parse.path->keys[i].value, c.keys[i].value);
      EXPECT_EQ(parse.path->keys[i].quoted, c.keys[i].quoted);
    }
    EXPECT_EQ(parse.path->RelativePath(), c.relativePath);
  }
}

TEST(ObjectPathTest, TextThatIsNoPathSaysWhy) {
  const char* const cases[] = {
      "",
      "   ",
      R"(\\srv)",
      R"(\\srv\root\cimv2)",
      R"(\\\root:A)",
      R"(\\srv\:A)",
      R"(root\\cimv2:A)",
      "Bad Class.Name=1",
      ".Name=1",
      R"(A.Name="open)",
      R"(A.Name="x" trailing)",
      "A.Name=",
      "A.=1",
      "A.Name=1,",
      R"(A.Name=a"b)",
      R"(A="x",K=1)",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    const ObjectPathParse parse = ParseObjectPath(text);
    EXPECT_FALSE(parse.path);
    EXPECT_EQ(parse.error.rfind("The object path cannot be read: ", 0), 0u) << parse.error;
  }
  EXPECT_FALSE(ParseObjectPath(std::string(kMaxObjectPathLength + 1, 'A')).path);
}

TEST(ObjectPathTest, SameObjectIgnoresCaseKeyOrderAndServer) {
  auto path = [](const char* text) { return *ParseObjectPath(text).path; };
  const auto a = path(R"(\\.\root\cimv2:Svc.Name="a",Kind=1)");
  EXPECT_TRUE(SameObject(a, path(R"(svc.kind=1,NAME="a")")));
  EXPECT_TRUE(SameObject(a, path(R"(\\other\ROOT\CIMV2:Svc.Name="a",Kind=1)")));
  EXPECT_FALSE(SameObject(a, path(R"(root\default:Svc.Name="a",Kind=1)")));
  EXPECT_FALSE(SameObject(a, path(R"(Svc.Name="A",Kind=1)")));
  EXPECT_FALSE(SameObject(a, path(R"(Svc.Name="a")")));
  EXPECT_FALSE(SameObject(a, path("Svc")));
}

TEST(ObjectPathTest, LocalServerNames) {
  for (const char* local : {"", ".", "LocalHost"}) EXPECT_TRUE(IsLocalServer(local)) << local;
  for (const char* remote : {"srv", "127.0.0.1", ".."})
    EXPECT_FALSE(IsLocalServer(remote)) << remote;
}

}  // namespace
}  // namespace brevane::wmi
