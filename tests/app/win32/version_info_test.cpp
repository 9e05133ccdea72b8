// The exe's version information states the version that the about box and the support mail
// state.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/support_mail.h"
#include "framework/win32/encoding.h"
#include "framework/win32/help_access.h"
#include "util/product_info.h"

namespace brevane::app::win32 {
namespace {

TEST(VersionInfoTest, ExeAboutBoxAndMailStateTheBuildsVersion) {
  EXPECT_EQ(std::string(util::kVersionLine), std::string("Version: ") + util::kProductVersion);
  EXPECT_NE(
      SupportMailLink({6, 1, 7601}).find(std::string("Brevane ") + util::kProductVersion + " on"),
      std::string::npos);

  const std::wstring exe =
      framework::win32::Utf8ToWide(framework::win32::ProgramDir()) + L"brevane.exe";
  if (!std::filesystem::exists(exe)) GTEST_SKIP() << "brevane.exe was not built";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), BREVANE_VERSION_MAJOR);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), BREVANE_VERSION_MINOR);
  EXPECT_EQ(HIWORD(fixed->dwProductVersionMS), BREVANE_VERSION_MAJOR);
  EXPECT_EQ(LOWORD(fixed->dwProductVersionMS), BREVANE_VERSION_MINOR);

  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\ProductVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_EQ(framework::win32::WideToUtf8(text), util::kProductVersion);
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\FileVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_EQ(framework::win32::WideToUtf8(text), BREVANE_FILE_VERSION_TEXT);
}

}  // namespace
}  // namespace brevane::app::win32
