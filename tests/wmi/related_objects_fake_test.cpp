// The fake's association queries, which the related-objects page and its tests rely on.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_object_world.h"
#include "support/fake_wmi.h"
#include "wmi/object_path.h"

namespace brevane::testing {
namespace {

class RelatedObjectsFakeTest : public ::testing::Test {
 protected:
  RelatedObjectsFakeTest() {
    AddObjectWorld(fake_);
    services_ = fake_.CreateLocator()->ConnectServer(".", kObjectWorldNamespace, "", "");
  }

  // The names (services) or Antecedent>Dependent pairs (dependencies) the query returns, sorted.
  std::vector<std::string> Answer(const std::string& query) {
    std::vector<std::string> out;
    auto walk = services_->ExecQuery(query, "WQL", wmi::kFlagSemisync)->NewEnum();
    std::unique_ptr<wmi::Object> object;
    while (walk->Next(object)) {
      if (object->ClassName() == "Brevane_Service") {
        out.push_back(object->PropertyValue("Name").text);
        continue;
      }
      auto end = [&](const char* role) {
        return wmi::ParseObjectPath(object->PropertyValue(role).text).path->keys[0].value;
      };
      out.push_back(end("Antecedent") + ">" + end("Dependent"));
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  FakeWmi fake_;
  std::unique_ptr<wmi::Services> services_;
};

TEST_F(RelatedObjectsFakeTest, AnswersAssociatorsAndReferencesWithTheirFilters) {
  const struct {
    const char* query;
    std::vector<std::string> expected;
  } cases[] = {
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Alpha"})", {"Beta", "Gamma"}},
      {R"(associators of {\\.\root\cimv2:brevane_service.name="Gamma"})", {"Alpha", "Beta"}},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Beta"} WHERE Role = Dependent)", {"Alpha"}},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Beta"} WHERE ResultRole=Dependent)", {"Gamma"}},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Beta"} WHERE AssocClass = Brevane_DependsOn ResultClass = Brevane_ManagedElement)",
       {"Alpha", "Gamma"}},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Beta"} WHERE ResultClass = Brevane_Account)", {}},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Delta"})", {}},
      {R"(REFERENCES OF {Brevane_Service.Name="Beta"})", {"Alpha>Beta", "Beta>Gamma"}},
      {R"(REFERENCES OF {Brevane_Service.Name="Beta"} WHERE Role = Antecedent)", {"Beta>Gamma"}},
      {R"(REFERENCES OF {Brevane_Service.Name="Alpha"} WHERE ResultClass = Brevane_Account)", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(Answer(c.query), c.expected);
  }
}

TEST_F(RelatedObjectsFakeTest, BadAssociationQueriesFailWithTheirStatus) {
  const struct {
    const char* query;
    uint32_t status;
  } cases[] = {
      {R"(ASSOCIATORS OF {Brevane_Service.Name="Nobody"})", 0x80041002u},
      {R"(ASSOCIATORS OF {Brevane_Service.Name="open})", 0x80041017u},
      {R"(ASSOCIATORS OF {Brevane_Service.Name=})", 0x8004103Au},
      {R"(REFERENCES OF Brevane_Service.Name="Alpha")", 0x80041017u},
      {R"(REFERENCES OF {Brevane_Service.Name="Alpha"} WHERE AssocClass = X)", 0x80041017u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    try {
      Answer(c.query);
      ADD_FAILURE() << "no failure";
    } catch (const wmi::WmiError& e) {
      EXPECT_EQ(static_cast<uint32_t>(e.Status()), c.status);
    }
  }
}

TEST_F(RelatedObjectsFakeTest, AssociationsHaveBothKeysInTheirPathAndCanBeFetched) {
  auto walk =
      services_->ExecQuery(R"(REFERENCES OF {Brevane_Service.Name="Gamma"})", "WQL", 0)->NewEnum();
  std::unique_ptr<wmi::Object> object;
  ASSERT_TRUE(walk->Next(object));
  const std::string path = object->PropertyValue("__RELPATH").text;
  EXPECT_EQ(path.rfind("Brevane_DependsOn.Antecedent=\"", 0), 0u) << path;
  EXPECT_NE(path.find(",Dependent=\"Brevane_Service.Name=\\\"Gamma\\\"\""), std::string::npos);
  EXPECT_EQ(services_->Get(path, 0)->ClassName(), "Brevane_DependsOn");
  // The same object with its keys in another order.
  auto parsed = *wmi::ParseObjectPath(path).path;
  std::swap(parsed.keys[0], parsed.keys[1]);
  EXPECT_EQ(services_->Get(parsed.RelativePath(), 0)->ClassName(), "Brevane_DependsOn");
  EXPECT_EQ(services_->GetClassDefinition("Brevane_Service").methods.size(), 4u);
}

}  // namespace
}  // namespace brevane::testing
