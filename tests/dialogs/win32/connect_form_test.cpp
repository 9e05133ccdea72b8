#include "dialogs/win32/connect_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/win32/modal_driver.h"
#include "framework/win32/dpi.h"
#include "framework/win32/control_adapters.h"

namespace brevane::dialogs::win32 {
namespace {

using brevane::framework::win32::GetWindowTextUtf8;
using brevane::testing::Click;
using brevane::testing::ComboItems;
using brevane::testing::ModalDriver;
using C = ConnectDialog;

class ConnectFormTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form.Create(nullptr)); }
  ConnectDialog form;
};

TEST_F(ConnectFormTest, CaptionsLabelsAndInitialFields) {
  EXPECT_EQ(GetWindowTextUtf8(form.Handle()), "连接到");
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  const struct {
    int id;
    const char* text;
  } captions[] = {{C::kHostLabel, "主机"},
                  {C::kNamespaceLabel, "命名空间"},
                  {C::kUserLabel, "用户名"},
                  {C::kPasswordLabel, "密  码"},
                  {C::kOkBtn, "确定"},
                  {C::kCancelBtn, "取消"},
                  {C::kFrame, ""}};
  for (const auto& c : captions) EXPECT_EQ(GetWindowTextUtf8(form.Item(c.id)), c.text) << c.id;

  EXPECT_EQ(form.HostCombo().EditText(), "本机");
  EXPECT_EQ(ComboItems(form.HostCombo()), std::vector<std::string>{"本机"});
  EXPECT_EQ(form.wmiPathCombo().EditText(), "root\\cimv2");
  EXPECT_EQ(form.wmiPathCombo().ItemCount(), 0);
  EXPECT_EQ(form.UserText(), "");
  EXPECT_EQ(form.PasswordText(), "");

  HWND password = form.Item(C::kPswdEdit);
  EXPECT_TRUE(GetWindowLongPtrW(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_TRUE(GetWindowLongPtrW(form.Item(C::kOkBtn), GWL_STYLE) & BS_DEFPUSHBUTTON);

  RECT client{};
  GetClientRect(form.Handle(), &client);
  const brevane::framework::win32::DpiScale scale =
      brevane::framework::win32::DpiScale::ForWindow(form.Handle());
  EXPECT_EQ(client.right, scale(409));
  EXPECT_EQ(client.bottom, scale(142));
  // The browse button sits right of the host box, inside the frame.
  RECT host{}, browse{}, frame{};
  GetWindowRect(form.Item(C::kHostCombo), &host);
  GetWindowRect(form.Item(C::kBrowseButton), &browse);
  GetWindowRect(form.Item(C::kFrame), &frame);
  EXPECT_GE(browse.left, host.right);
  EXPECT_LT(browse.right, frame.right);
  EXPECT_EQ(browse.right - browse.left, scale(23));
}

TEST_F(ConnectFormTest, TabOrderFollowsTheFrameThenTheButtons) {
  const int expected[] = {C::kWmiPathCombo, C::kUserEdit, C::kBrowseButton - 1 /* password */,
                          C::kBrowseButton, C::kOkBtn,    C::kCancelBtn,
                          C::kHostCombo};
  HWND current = form.Item(C::kHostCombo);
  for (int id : expected) {
    current = GetNextDlgTabItem(form.Handle(), current, FALSE);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(GetDlgCtrlID(current), id);
  }
}

TEST_F(ConnectFormTest, OkAddsHostThenNamespaceToTheirHistories) {
  form.HostCombo().SetEditText(" server01 ");
  form.wmiPathCombo().SetEditText("root\\default");
  form.SetUserText(" admin");
  form.SetPasswordText("pa ss ");
  ModalDriver driver;
  HWND focusedCombo = nullptr;
  driver.After(100, [&] {
    focusedCombo = GetParent(GetFocus());
    Click(form.Handle(), IDOK);
  });
  driver.After(10000, [&] { form.EndModal(IDCANCEL); });  // bound if OK is lost
  EXPECT_EQ(form.ShowModal(), IDOK);
  EXPECT_EQ(focusedCombo, form.Item(C::kHostCombo));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(ComboItems(form.HostCombo()), (std::vector<std::string>{"server01", "本机"}));
  EXPECT_EQ(form.HostCombo().EditText(), " server01 ");
  EXPECT_EQ(ComboItems(form.wmiPathCombo()), std::vector<std::string>{"root\\default"});
  EXPECT_EQ(form.UserText(), " admin");
  EXPECT_EQ(form.PasswordText(), "pa ss ");

  // Shown again: the same dialog, with its fields and histories kept.
  form.HostCombo().SetEditText("本机");
  form.wmiPathCombo().SetEditText("");
  ModalDriver again;
  again.After(100, [&] { Click(form.Handle(), IDOK); });
  again.After(10000, [&] { form.EndModal(IDCANCEL); });
  EXPECT_EQ(form.ShowModal(), IDOK);
  EXPECT_EQ(ComboItems(form.HostCombo()), (std::vector<std::string>{"本机", "server01"}));
  EXPECT_EQ(ComboItems(form.wmiPathCombo()), std::vector<std::string>{"root\\default"});
}

TEST_F(ConnectFormTest, CancelAndCloseBoxChangeNoHistory) {
  form.HostCombo().SetEditText("elsewhere");
  form.wmiPathCombo().SetEditText("root\\wmi");
  ModalDriver driver;
  driver.After(100, [&] { Click(form.Handle(), IDCANCEL); });
  driver.After(10000, [&] { form.EndModal(IDCANCEL); });
  EXPECT_EQ(form.ShowModal(), IDCANCEL);
  ModalDriver closeBox;
  closeBox.After(100, [&] { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); });
  closeBox.After(10000, [&] { form.EndModal(IDOK); });
  EXPECT_EQ(form.ShowModal(), IDCANCEL);
  EXPECT_EQ(ComboItems(form.HostCombo()), std::vector<std::string>{"本机"});
  EXPECT_EQ(form.wmiPathCombo().ItemCount(), 0);
  EXPECT_EQ(form.HostCombo().EditText(), "elsewhere");
}

TEST_F(ConnectFormTest, BrowserIsSetUpForNetworkComputers) {
  BrowseForFolder& browser = form.ComputerBrowser();
  EXPECT_EQ(browser.Flags(), BrowseFlags({BrowseFlag::bf_BrowseForComputer}));
  EXPECT_EQ(browser.OptionBits(), 0x1000u);
  EXPECT_EQ(browser.Root, BrowseLocation::bl_NETWORK);
  EXPECT_EQ(browser.Caption, "请选择电脑");
  EXPECT_EQ(browser.StatusText, "请选择电脑");
  EXPECT_EQ(browser.FolderName, "C:\\");
}

TEST_F(ConnectFormTest, CancelledComputerBrowserLeavesHostAlone) {
  form.HostCombo().SetEditText("keepme");
  ModalDriver driver;
  int browseDialogs = 0;
  // The shell's browse dialog opens inside OnBrowse; cancel it once it shows.
  std::function<void()> cancelBrowser = [&] {
    for (HWND dialog : brevane::testing::ThreadDialogs(form.Handle())) {
      ++browseDialogs;
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    if (browseDialogs == 0) driver.After(200, cancelBrowser);
  };
  driver.After(200, cancelBrowser);
  driver.After(15000, [&] { browseDialogs = -1; });
  form.OnBrowse();
  EXPECT_EQ(browseDialogs, 1);
  EXPECT_EQ(form.HostCombo().EditText(), "keepme");
  EXPECT_EQ(form.ComputerBrowser().OptionBits(), 0x1020u);
  EXPECT_EQ(form.ComputerBrowser().Flags(), BrowseFlags({BrowseFlag::bf_BrowseForComputer}));
  EXPECT_EQ(form.ComputerBrowser().FolderName, "C:\\");
}

}  // namespace
}  // namespace brevane::dialogs::win32
