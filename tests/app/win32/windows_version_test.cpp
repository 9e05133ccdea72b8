#include "app/win32/windows_version.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::app::win32 {
namespace {

TEST(WindowsVersionTest, KernelVersionFillsTheMailSubject) {
  const WindowsVersion version = RunningWindowsVersion();
  EXPECT_GE(version.major, 5u);
  EXPECT_GT(version.build, 0u);
  const std::string link = SupportMailLink(version);
  EXPECT_NE(link.find(" on Windows " + std::to_string(version.major) + "."), std::string::npos);
  EXPECT_EQ(link.substr(link.size() - 2), ". ");
}

}  // namespace
}  // namespace brevane::app::win32
