#include "wmi/win32/com_security.h"

#include <gtest/gtest.h>
#include <wbemidl.h>

#include "framework/com_ref.h"
#include "framework/win32/com_apartment.h"
#include "framework/win32/com_bstr.h"

namespace brevane::wmi::win32 {
namespace {

using brevane::framework::ComRef;

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

TEST(ComSecurityTest, RemoteConnectionsAreEncryptedAndExplicitUsersSecureTheUnknown) {
  constexpr DWORD kPrivacy = RPC_C_AUTHN_LEVEL_PKT_PRIVACY;
  constexpr DWORD kCall = RPC_C_AUTHN_LEVEL_CALL;
  struct Case {
    bool remote;
    bool hasUser;
    DWORD level;
    bool explicitIdentity;
  } const cases[] = {
      {true, true, kPrivacy, true},
      {true, false, kPrivacy, false},
      {false, true, kCall, false},
      {false, false, kCall, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "remote " << c.remote << " user " << c.hasUser);
    const ProxySecurity security = ChooseProxySecurity(c.remote, c.hasUser);
    EXPECT_EQ(security.authenticationLevel, c.level);
    EXPECT_EQ(security.explicitIdentity, c.explicitIdentity);
    EXPECT_EQ(security.secureUnknown, c.explicitIdentity);
    const ConnectionIdentity identity(c.hasUser ? "CORP\\ann" : "", "secret", c.remote);
    EXPECT_EQ(identity.UsesExplicitCredentials(), c.explicitIdentity);
    EXPECT_EQ(identity.AuthenticationLevel(), c.level);
    if (!c.explicitIdentity) {
      EXPECT_EQ(identity.UserName(), L"");
    }
  }
}

TEST(ComSecurityTest, AnEmptyPasswordWithAUserNameIsNotTheCurrentIdentity) {
  EXPECT_TRUE(PasswordIsNull("", ""));
  EXPECT_FALSE(PasswordIsNull("CORP\\ann", ""));
  EXPECT_FALSE(PasswordIsNull("CORP\\ann", "secret"));
  EXPECT_FALSE(PasswordIsNull("", "secret"));
}

// Wine accepts every blanket; this shows that securing a real proxy and its IUnknown with
// explicit credentials works through without a failure.
TEST(ComSecurityTest, ExplicitCredentialsSecureARealProxy) {
  brevane::framework::win32::ComApartment apartment;
  ComRef<IWbemLocator> locator;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                            __uuidof(IWbemLocator), locator.ReceiveVoid()));
  const brevane::framework::win32::Bstr ns(L"root\\cimv2");
  ComRef<IWbemServices> services;
  ASSERT_HRESULT_SUCCEEDED(locator->ConnectServer(ns.Get(), nullptr, nullptr, nullptr, 0, nullptr,
                                                  nullptr, services.Receive()));
  const ConnectionIdentity identity("CORP\\ann", "", /*remote=*/true);
  EXPECT_NO_THROW(identity.Secure(services.Get()));
}

}  // namespace
}  // namespace brevane::wmi::win32
