#include "wmi/win32/com_security.h"

#include <gtest/gtest.h>

namespace brevane::wmi::win32 {
namespace {

TEST(ComSecurityTest, LocalHostNames) {
  for (const char* host : {"", ".", "localhost", "LOCALHOST"}) EXPECT_TRUE(IsLocalHost(host));
  for (const char* host : {"server1", "127.0.0.2", "localhost2", ".."}) {
    EXPECT_FALSE(IsLocalHost(host)) << host;
  }
}

TEST(ComSecurityTest, RemoteUserIsSplitAtTheFirstBackslash) {
  struct Case {
    const char* user;
    std::wstring domain;
    std::wstring name;
  } const cases[] = {
      {"CORP\\ann", L"CORP", L"ann"},
      {"CORP\\ann\\x", L"CORP", L"ann\\x"},
      {"ann@corp.example", L"", L"ann@corp.example"},
      {"\\ann", L"", L"ann"},
  };
  for (const auto& c : cases) {
    const ConnectionIdentity identity(c.user, "secret", /*remote=*/true);
    EXPECT_TRUE(identity.UsesExplicitCredentials());
    EXPECT_EQ(identity.AuthenticationLevel(), static_cast<DWORD>(RPC_C_AUTHN_LEVEL_PKT_PRIVACY));
    EXPECT_EQ(identity.Domain(), c.domain) << c.user;
    EXPECT_EQ(identity.UserName(), c.name) << c.user;
  }
}

TEST(ComSecurityTest, LocalOrAnonymousConnectionsUseTheProcessToken) {
  const ConnectionIdentity local("CORP\\ann", "secret", /*remote=*/false);
  const ConnectionIdentity noUser("", "", /*remote=*/true);
  for (const ConnectionIdentity* identity : {&local, &noUser}) {
    EXPECT_FALSE(identity->UsesExplicitCredentials());
    EXPECT_EQ(identity->AuthenticationLevel(), static_cast<DWORD>(RPC_C_AUTHN_LEVEL_CALL));
    EXPECT_EQ(identity->UserName(), L"");
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
