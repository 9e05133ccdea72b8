#include "support/fake_explore_world.h"

#include "util/text.h"

namespace brevane::testing {

namespace {
constexpr const char* kNamespaceClass = "__NAMESPACE";

void EnsureNamespaceClass(FakeWmi& fake, const std::string& ns) {
  if (fake.HasClass(ns, kNamespaceClass)) return;
  fake.AddClass(ns, kNamespaceClass, "", {"Name"}, {wmi::kCimString});
  fake.SetQualifiers(ns, kNamespaceClass, "Name", {true, ""});
}
}  // namespace

void AddChildNamespace(FakeWmi& fake, const std::string& parent, const std::string& name) {
  fake.AddNamespace(parent);
  fake.AddNamespace(parent + "\\" + name);
  EnsureNamespaceClass(fake, parent);
  fake.AddInstance(parent, kNamespaceClass, {{"Name", cim::String(name)}});
}

void AddExploreWorld(FakeWmi& fake) {
  for (const char* child : {"cimv2", "default", "Brevane", "Secret"})
    AddChildNamespace(fake, "root", child);
  fake.RefuseNamespace("root\\Secret",
                       wmi::WmiError(fake_status::kAccessDenied, "Access is denied"));
  AddChildNamespace(fake, "root\\Brevane", "Deep");
  AddChildNamespace(fake, "root\\Brevane", "Odd Name $&");
  fake.AddClass("root\\Brevane", "Brevane_Shallow", "", {"Name"}, {wmi::kCimString});
  fake.AddClass("root\\Brevane\\Deep", "Brevane_DeepThing", "", {"Name", "Size"},
                {wmi::kCimString, wmi::kCimUint32});
  fake.SetQualifiers("root\\Brevane\\Deep", "Brevane_DeepThing", "Name", {true, ""});
  fake.AddInstance("root\\Brevane\\Deep", "Brevane_DeepThing",
                   {{"Name", cim::String("deep one")}, {"Size", cim::Uint32(2)}});
}

void AddManyNamespaces(FakeWmi& fake, int count, int classes) {
  for (int n = 0; n < count; ++n) {
    const std::string name = util::Format("Many_%02d", n);
    AddChildNamespace(fake, "root", name);
    const std::string ns = "root\\" + name;
    for (int c = 0; c < classes; ++c)
      fake.AddClass(ns, util::Format("%s_Class_%04d", name.c_str(), c), "", {"Name"},
                    {wmi::kCimString});
  }
}

}  // namespace brevane::testing
