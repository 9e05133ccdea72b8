#include "app/support_mail.h"

#include <gtest/gtest.h>

#include "app/connect_fields.h"
#include "util/product_info.h"

namespace brevane::app {
namespace {

TEST(SupportMailTest, SubjectCarriesPaddedMinorAndBuild) {
  const std::string prefix = std::string("mailto:") + util::kSupportMailbox +
                             "?subject=Question about Brevane " + util::kProductVersion +
                             " on Windows ";
  EXPECT_EQ(SupportMailLink({5, 1, 2600}), prefix + "5.01 (2600). ");
  EXPECT_EQ(SupportMailLink({10, 0, 19045}), prefix + "10.00 (19045). ");
  EXPECT_EQ(SupportMailLink({6, 123, 7}), prefix + "6.123 (7). ");
  EXPECT_EQ(SupportMailLink({4294967295u, 0, 0}), prefix + "4294967295.00 (0). ");
}

TEST(ConnectFieldsTest, HostAndNamespaceTrimmedCredentialsAsTyped) {
  const ConnectFields taken =
      TakeConnectFields({" \tserver01\r\n", "  root\\default ", " admin ", "secret "});
  EXPECT_EQ(taken.host, "server01");
  EXPECT_EQ(taken.nameSpace, "root\\default");
  EXPECT_EQ(taken.user, " admin ");
  EXPECT_EQ(taken.password, "secret ");

  const ConnectFields blank = TakeConnectFields({"   ", "\t", "", ""});
  EXPECT_EQ(blank.host, "");
  EXPECT_EQ(blank.nameSpace, "");
}

}  // namespace
}  // namespace brevane::app
