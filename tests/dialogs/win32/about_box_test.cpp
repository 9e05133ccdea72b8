#include "dialogs/win32/about_box.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "dialogs/win32/modal_driver.h"
#include "framework/win32/dpi.h"
#include "util/product_info.h"

namespace brevane::dialogs::win32 {
namespace {

using brevane::framework::win32::GetWindowTextUtf8;
using brevane::testing::ModalDriver;
using brevane::testing::SecondsSince;
using brevane::testing::ThreadDialogs;
using A = TAboutBox;

TEST(AboutBoxTest, ClosesByItselfAfterTheGivenTime) {
  ModalDriver driver;
  bool forced = false;
  driver.After(15000, [&] {
    forced = true;
    for (HWND box : ThreadDialogs()) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const auto start = std::chrono::steady_clock::now();
  ShowAboutBox(nullptr, 3000);
  const double seconds = SecondsSince(start);
  EXPECT_FALSE(forced);
  EXPECT_GE(seconds, 2.9);
  EXPECT_LT(seconds, 10.0);
}

TEST(AboutBoxTest, ShowsNameVersionAndLinksAndClosesOnEscape) {
  ModalDriver driver;
  std::string caption, name, version, homeText, mailText, okText, iconHint, mailHint;
  bool linksHaveHints = false;
  driver.After(300, [&] {
    const auto boxes = ThreadDialogs();
    if (boxes.size() != 1) return;
    HWND box = boxes.front();
    caption = GetWindowTextUtf8(box);
    name = GetWindowTextUtf8(GetDlgItem(box, A::kLabel1));
    version = GetWindowTextUtf8(GetDlgItem(box, A::kLabel2));
    homeText = GetWindowTextUtf8(GetDlgItem(box, A::kLabel4));
    mailText = GetWindowTextUtf8(GetDlgItem(box, A::kLabel5));
    okText = GetWindowTextUtf8(GetDlgItem(box, A::kBitBtn1));
    RECT logo{};
    GetClientRect(GetDlgItem(box, A::kProgramIcon), &logo);
    const brevane::framework::win32::DpiScale scale =
        brevane::framework::win32::DpiScale::ForWindow(box);
    linksHaveHints = logo.right == scale(195) && logo.bottom == scale(90);
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // what Esc sends
  });
  driver.After(15000, [&] {
    for (HWND box : ThreadDialogs()) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const auto start = std::chrono::steady_clock::now();
  ShowAboutBox(nullptr, 0);
  EXPECT_LT(SecondsSince(start), 10.0);
  EXPECT_EQ(caption, "Brevane");
  EXPECT_EQ(name, "Brevane");
  EXPECT_EQ(version, "Version: 2.00");
  EXPECT_EQ(homeText, "brevane.example.org");
  EXPECT_EQ(mailText, util::kSupportMailbox);
  EXPECT_EQ(okText, "OK");
  EXPECT_TRUE(linksHaveHints);
}

}  // namespace
}  // namespace brevane::dialogs::win32
