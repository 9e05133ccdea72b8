#include "wmi/wmi_error_text.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

constexpr int32_t Status(uint32_t code) {
  return static_cast<int32_t>(code);
}

TEST(WmiErrorTextTest, CleanRemovesTrailingBlanksControlsAndPeriods) {
  struct Case {
    std::string_view in;
    std::string_view out;
  } const cases[] = {
      {"Invalid namespace ", "Invalid namespace"},
      {"Access is denied.\r\n", "Access is denied"},
      {"The RPC server is unavailable. ", "The RPC server is unavailable"},
      {"  \tleading", "leading"},
      {"ends with dots...", "ends with dots"},
      {"v1.2 inside stays", "v1.2 inside stays"},
      {". . .", ""},
      {"", ""},
      {"\x01\x02", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanErrorDescription(c.in), c.out) << c.in;
}

TEST(WmiErrorTextTest, PlaceholderIsRecognised) {
  EXPECT_TRUE(IsPlaceholderErrorText("Error code: 0x8004100E"));
  EXPECT_TRUE(IsPlaceholderErrorText("Error code: 0x80041017\r\n"));
  EXPECT_TRUE(IsPlaceholderErrorText("error code: 0x8004100e"));
  EXPECT_FALSE(IsPlaceholderErrorText("Error code: 0x"));
  EXPECT_FALSE(IsPlaceholderErrorText("Error code: 0x8004100E was returned by the provider"));
  EXPECT_FALSE(IsPlaceholderErrorText("Invalid namespace"));
  EXPECT_FALSE(IsPlaceholderErrorText(""));
}

TEST(WmiErrorTextTest, OleErrorUsesEightUpperCaseHexDigits) {
  EXPECT_EQ(OleErrorText(Status(0x8004abcdu)), "OLE error 8004ABCD");
  EXPECT_EQ(OleErrorText(0x1f), "OLE error 0000001F");
}

TEST(WmiErrorTextTest, TableKnowsTheCommonFailures) {
  EXPECT_EQ(KnownStatusText(Status(0x8004100Eu)), "Invalid namespace");
  EXPECT_EQ(KnownStatusText(Status(0x80041017u)), "Invalid query");
  EXPECT_EQ(KnownStatusText(Status(0x80041064u)),
            "User credentials cannot be used for local connections");
  EXPECT_EQ(KnownStatusText(Status(0x800706BAu)), "The RPC server is unavailable");
  EXPECT_EQ(KnownStatusText(Status(0x80070005u)), "Access is denied");
  EXPECT_EQ(KnownStatusText(0), "");
  EXPECT_EQ(KnownStatusText(Status(0x8004ABCDu)), "");
}

TEST(WmiErrorTextTest, ComposeFollowsTheOrderOfPreference) {
  const int32_t invalidNamespace = Status(0x8004100Eu);
  struct Case {
    int32_t status;
    std::string_view description;
    std::string_view codeText;
    std::string_view expected;
  } const cases[] = {
      // The description that came with the failure wins, cleaned.
      {invalidNamespace, "Namespace root\\nosuch was not found. ", "Invalid namespace ",
       "Namespace root\\nosuch was not found"},
      // Then the platform's text for the code.
      {invalidNamespace, "", "Invalid namespace ", "Invalid namespace"},
      {invalidNamespace, " \r\n", "Invalid namespace ", "Invalid namespace"},
      // A placeholder is no text: our table answers.
      {invalidNamespace, "", "Error code: 0x8004100E", "Invalid namespace"},
      {invalidNamespace, "Error code: 0x8004100E", "", "Invalid namespace"},
      // Nothing anywhere: the last resort.
      {Status(0x8004ABCDu), "", "Error code: 0x8004ABCD", "OLE error 8004ABCD"},
      {Status(0x8004ABCDu), "...", "", "OLE error 8004ABCD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeFailureText(c.status, c.description, c.codeText), c.expected)
        << c.description << " | " << c.codeText;
  }
}

}  // namespace
}  // namespace brevane::wmi
