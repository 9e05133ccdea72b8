#include "wmi/object_explore.h"

#include <gtest/gtest.h>

#include "support/fake_object_world.h"
#include "support/test_dispatcher.h"

namespace brevane::wmi {
namespace {

using testing::FakeWmi;

class ObjectExploreTest : public ::testing::Test {
 protected:
  ObjectExploreTest() { testing::AddObjectWorld(*fake); }

  template <class Answer, class Start>
  Answer Ask(Start start) {
    Answer answer;
    bool done = false;
    start([&](Answer&& a) {
      answer = std::move(a);
      done = true;
    });
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return done; }));
    return answer;
  }

  DefinitionAnswer Definition(const std::string& className) {
    return Ask<DefinitionAnswer>(
        [&](auto done) { StartClassDefinition(worker, kConn, className, done); });
  }

  RelatedAnswer Related(const std::string& path) {
    return Ask<RelatedAnswer>([&](auto done) { StartRelatedObjects(worker, kConn, path, done); });
  }

  std::vector<std::string> Lines(const RelatedAnswer& answer) {
    std::vector<int> objects;
    return RelatedObjectLines(answer, objects);
  }

  const ConnectionParams kConn{".", testing::kObjectWorldNamespace, "", ""};
  std::shared_ptr<FakeWmi> fake = std::make_shared<FakeWmi>();
  std::shared_ptr<testing::TestDispatcher> dispatcher = std::make_shared<testing::TestDispatcher>();
  RequestWorker worker{fake, dispatcher};
};

TEST_F(ObjectExploreTest, DefinitionComesAsThePageText) {
  const DefinitionAnswer service = Definition("Brevane_Service");
  ASSERT_TRUE(service.ok) << service.errorText;
  EXPECT_NE(service.text.find("uint32 ChangeStartMode(string StartMode)"), std::string::npos);
  EXPECT_NE(service.text.find("string Name (key)"), std::string::npos);
  const DefinitionAnswer missing = Definition("Brevane_Nothing");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.errorText, "Error: Not found");
}

TEST_F(ObjectExploreTest, RelatedObjectsAreListedByClass) {
  const RelatedAnswer beta = Related(R"(Brevane_Service.Name="Beta")");
  ASSERT_TRUE(beta.ok) << beta.errorText;
  EXPECT_EQ(
      Lines(beta),
      (std::vector<std::string>{
          "Brevane_Service (2)",
          "    Alpha",
          "    Gamma",
          "Brevane_DependsOn (2, references)",
          R"(    Brevane_DependsOn.Antecedent="\\\\.\\root\\cimv2:Brevane_Service.Name=\"Alpha\"",Dependent="Brevane_Service.Name=\"Beta\"")",
          R"(    Brevane_DependsOn.Antecedent="\\\\.\\root\\cimv2:Brevane_Service.Name=\"Beta\"",Dependent="Brevane_Service.Name=\"Gamma\"")",
      }));
  // Paths name the computer as it calls itself; the answer says which name that is.
  EXPECT_EQ(beta.objects[0].path, R"(\\BREVANE-PC\root\cimv2:Brevane_Service.Name="Alpha")");
  EXPECT_EQ(beta.server, testing::kObjectWorldComputer);

  const RelatedAnswer gone = Related(R"(Brevane_Service.Name="Nobody")");
  EXPECT_TRUE(gone.gone);
  EXPECT_EQ(gone.errorText, "Not found");
  const RelatedAnswer bad = Related("Brevane_Service.Name=");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.errorText.rfind("Error: ", 0), 0u);
}

TEST_F(ObjectExploreTest, BeyondTheLimitObjectsAreCountedNotKept) {
  testing::AddManyRelated(*fake, static_cast<int>(kMaxRelatedObjects) + 5);
  const RelatedAnswer hub = Related(R"(Brevane_Service.Name="Hub")");
  ASSERT_TRUE(hub.ok);
  EXPECT_EQ(hub.objects.size(), kMaxRelatedObjects);
  EXPECT_EQ(hub.leftOut, kMaxRelatedObjects + 10);  // the rest of the services and references
  EXPECT_EQ(Lines(hub).back(), "10010 more related objects are not listed.");
}

}  // namespace
}  // namespace brevane::wmi
