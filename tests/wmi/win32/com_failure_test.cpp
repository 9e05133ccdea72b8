#include "wmi/win32/com_failure.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include "framework/com_ref.h"
#include "framework/win32/com_apartment.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi::win32 {
namespace {

using brevane::framework::ComRef;

void LeaveErrorDescription(const wchar_t* description) {
  ComRef<ICreateErrorInfo> create;
  ASSERT_HRESULT_SUCCEEDED(CreateErrorInfo(create.Receive()));
  create->SetDescription(const_cast<LPOLESTR>(description));
  ComRef<IErrorInfo> info;
  ASSERT_HRESULT_SUCCEEDED(create->QueryInterface(__uuidof(IErrorInfo), info.ReceiveVoid()));
  ASSERT_HRESULT_SUCCEEDED(SetErrorInfo(0, info.Get()));
}

class ComFailureTest : public ::testing::Test {
 protected:
  brevane::framework::win32::ComApartment apartment_;
};

TEST_F(ComFailureTest, WmiCodesGetTextEvenWhereThePlatformHasNone) {
  EXPECT_EQ(SystemFailureText(static_cast<HRESULT>(0x8004100Eu)), "Invalid namespace");
  EXPECT_EQ(SystemFailureText(static_cast<HRESULT>(0x80041017u)), "Invalid query");
  EXPECT_EQ(SystemFailureText(static_cast<HRESULT>(0x8004ABCDu)), "OLE error 8004ABCD");
  const std::string denied = SystemFailureText(E_ACCESSDENIED);
  EXPECT_EQ(denied.rfind("Access", 0), 0u) << denied;
  EXPECT_NE(denied.back(), '.');
}

TEST_F(ComFailureTest, DescriptionLeftWithTheFailureComesFirst) {
  LeaveErrorDescription(L"The provider refused the request. \r\n");
  EXPECT_EQ(ComFailureText(static_cast<HRESULT>(0x80041004u)), "The provider refused the request");
  // Taking the description consumes it.
  EXPECT_EQ(ComFailureText(static_cast<HRESULT>(0x80041004u)), "Provider failure");
}

TEST_F(ComFailureTest, StaleDescriptionIsForgottenBeforeTheNextCall) {
  LeaveErrorDescription(L"Somebody else's failure");
  ClearComErrorInfo();
  try {
    ThrowComFailure(static_cast<HRESULT>(0x8004100Eu));
  } catch (const WmiError& e) {
    EXPECT_EQ(e.Status(), static_cast<int32_t>(0x8004100Eu));
    EXPECT_STREQ(e.what(), "Invalid namespace");
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
