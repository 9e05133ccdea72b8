#include "framework/com_ref.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace brevane::framework {
namespace {

// Counts references the way a COM object does; the test reads the count after each step.
struct Counted {
  int references = 1;  // the one its maker hands over
  unsigned long AddRef() { return static_cast<unsigned long>(++references); }
  unsigned long Release() { return static_cast<unsigned long>(--references); }
};

TEST(ComRefTest, TakingARawPointerAddsNoReference) {
  Counted object;
  {
    auto owner = ComRef<Counted>::Take(&object);
    EXPECT_EQ(object.references, 1);
    EXPECT_EQ(owner.Get(), &object);
  }
  EXPECT_EQ(object.references, 0);
}

TEST(ComRefTest, OutParameterSlotReleasesWhatItHeldAndKeepsWhatItGets) {
  Counted first;
  Counted second;
  auto owner = ComRef<Counted>::Take(&first);
  *owner.Receive() = &second;  // as a callee fills an out-parameter
  EXPECT_EQ(first.references, 0);
  EXPECT_EQ(second.references, 1);
  Counted third;
  *reinterpret_cast<Counted**>(owner.ReceiveVoid()) = &third;
  EXPECT_EQ(second.references, 0);
  EXPECT_EQ(third.references, 1);
  owner.Reset();
  EXPECT_EQ(third.references, 0);
  EXPECT_FALSE(owner);
}

TEST(ComRefTest, MovesTransferAndSharingIsExplicit) {
  Counted object;
  auto owner = ComRef<Counted>::Take(&object);
  ComRef<Counted> moved = std::move(owner);
  EXPECT_EQ(object.references, 1);
  EXPECT_FALSE(owner);  // NOLINT(bugprone-use-after-move): moved-from is empty by contract
  ComRef<Counted> copy = moved.Copy();
  EXPECT_EQ(object.references, 2);
  auto shared = ComRef<Counted>::Share(&object);
  EXPECT_EQ(object.references, 3);
  copy = std::move(shared);  // releases copy's reference, takes shared's
  EXPECT_EQ(object.references, 2);
  {
    std::vector<ComRef<Counted>> batch;
    for (int i = 0; i < 100; ++i) batch.push_back(moved.Copy());  // reallocation moves
    EXPECT_EQ(object.references, 102);
  }
  EXPECT_EQ(object.references, 2);
  moved.Reset();
  copy.Reset();
  EXPECT_EQ(object.references, 0);
  EXPECT_EQ(ComRef<Counted>::Share(nullptr).Get(), nullptr);
}

}  // namespace
}  // namespace brevane::framework
