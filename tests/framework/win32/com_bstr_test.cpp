#include "framework/win32/com_bstr.h"

#include <gtest/gtest.h>

#include <utility>

namespace brevane::framework::win32 {
namespace {

TEST(BstrTest, KeepsEmbeddedNulsAndConvertsBothWays) {
  const Bstr text(std::wstring_view(L"a\0b", 3));
  EXPECT_EQ(SysStringLen(text.Get()), 3u);
  EXPECT_EQ(text.ToUtf8(), std::string("a\0b", 3));
  EXPECT_EQ(Bstr::FromUtf8("\xE6\x9C\xAC").View(), L"\u672C");
  // An empty text is an empty string, never a null one.
  const Bstr empty = Bstr::FromUtf8("");
  ASSERT_NE(empty.Get(), nullptr);
  EXPECT_EQ(SysStringLen(empty.Get()), 0u);
}

TEST(BstrTest, MovesOwnershipAndFreesOnReceive) {
  Bstr first = Bstr::Secret(L"password");
  Bstr second = std::move(first);
  EXPECT_EQ(first.Get(), nullptr);  // NOLINT(bugprone-use-after-move): moved-from is empty
  EXPECT_EQ(second.View(), L"password");
  *second.Receive() = SysAllocString(L"fresh");
  EXPECT_EQ(second.ToUtf8(), "fresh");
  Bstr none;
  EXPECT_EQ(none.View(), L"");
  EXPECT_EQ(none.ToUtf8(), "");
}

}  // namespace
}  // namespace brevane::framework::win32
