#include "framework/extended_path.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::framework {
namespace {

TEST(ExtendedPathTest, LongFormAndBack) {
  struct Case {
    std::wstring full;
    std::wstring extended;
  };
  const Case cases[] = {
      {L"C:\\data\\out.csv", L"\\\\?\\C:\\data\\out.csv"},
      {L"d:/x.csv", L"\\\\?\\d:/x.csv"},
      {L"\\\\server\\share\\out.csv", L"\\\\?\\UNC\\server\\share\\out.csv"},
      {L"\\\\?\\C:\\already.csv", L"\\\\?\\C:\\already.csv"},
      {L"\\\\.\\pipe\\name", L"\\\\.\\pipe\\name"},
      {L"relative\\out.csv", L"relative\\out.csv"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtendedLengthPath(c.full), c.extended);
    if (c.extended != c.full) {
      EXPECT_EQ(DisplayPath(c.extended), c.full);
    }
  }
}

}  // namespace
}  // namespace brevane::framework
