// End to end on the fake's nested namespaces: the tree opens down to the current namespace at
// start-up, a refusing namespace says why in the status bar without a message box, and
// choosing a namespace lists its classes, two levels down too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/win32/class_search_window.h"
#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;

using NamespaceTreeTest = LaunchedAppTest;

bool Has(const std::vector<std::string>& items, const std::string& wanted) {
  return std::find(items.begin(), items.end(), wanted) != items.end();
}

TEST_F(NamespaceTreeTest, OpensToTheCurrentNamespaceMarksTheRefusingOneAndListsClasses) {
  LaunchFakeWithClasses(L"standard,explore");
  if (IsSkipped() || HasFatalFailure()) return;
  HWND tree = Control(app::win32::kIdNamespaceTree);
  ASSERT_NE(tree, nullptr);
  const auto rootItem = [&] {
    return reinterpret_cast<HTREEITEM>(SendToProgram(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  };
  const std::vector<std::string> rootChildren{"Brevane", "cimv2", "default", "Secret"};
  ASSERT_TRUE(WaitUntil([&] { return TreeChildTexts(tree, rootItem()) == rootChildren; }, 30s));
  ASSERT_TRUE(WaitUntil([&] { return TreeSelectedText(tree) == "cimv2"; }, 10s))
      << TreeSelectedText(tree);
  auto key = [&](WPARAM vk) { PostMessageW(tree, WM_KEYDOWN, vk, 0); };

  // The last line is the refusing namespace: the reason in panel 2, no box.
  key(VK_END);
  ASSERT_TRUE(WaitUntil(
      [&] { return StatusPanelText(status_, 2) == "root\\Secret: Access is denied"; }, 10s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(app_->FindMessageBox(), nullptr);

  // root, then Brevane: its class; opened, its child Deep with the class two levels down.
  key(VK_HOME);
  key(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return Has(ListBoxItems(classList_), "Brevane_Shallow"); }, 30s))
      << StatusPanelText(status_, 2);
  key(VK_RIGHT);
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto brevane = reinterpret_cast<HTREEITEM>(
            SendToProgram(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(rootItem())));
        return TreeChildTexts(tree, brevane) == std::vector<std::string>{"Deep", "Odd Name $&"};
      },
      30s));
  key(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return Has(ListBoxItems(classList_), "Brevane_DeepThing"); }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_FALSE(Has(ListBoxItems(classList_), "Brevane_Shallow"));
}

// Ctrl+Shift+F's dialog walks every namespace: the class two levels down is found, case ignored,
// and opened in the main window.
TEST_F(NamespaceTreeTest, FindingAClassEverywhereFindsItTwoLevelsDown) {
  LaunchFakeWithClasses(L"standard,explore");
  if (IsSkipped() || HasFatalFailure()) return;
  PostMessageW(main_, WM_COMMAND, app::win32::kCmdFindClassEverywhere, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (dialog = app_->FindDialog(L"在所有命名空间中查找类")) != nullptr; }, 10s));
  SendToProgram(GetDlgItem(dialog, app::win32::ClassSearchWindow::kText), WM_SETTEXT, 0,
                reinterpret_cast<LPARAM>(L"deepTHING"));
  PostButtonClick(GetDlgItem(dialog, app::win32::ClassSearchWindow::kFindButton));
  HWND hits = GetDlgItem(dialog, app::win32::ClassSearchWindow::kHits);
  ASSERT_TRUE(WaitUntil([&] { return SendToProgram(hits, LVM_GETITEMCOUNT, 0, 0) == 1; }, 30s));
  EXPECT_EQ(ListViewCell(hits, 0, 0), "root\\Brevane\\Deep");
  EXPECT_EQ(ListViewCell(hits, 0, 1), "Brevane_DeepThing");

  // Opening the hit makes its namespace current, in the tree too, and chooses its class.
  ASSERT_TRUE(DoubleClickListViewRow(hits, 0));
  HWND tree = Control(app::win32::kIdNamespaceTree);
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto chosen = SendToProgram(classList_, LB_GETCURSEL, 0, 0);
        const auto classes = ListBoxItems(classList_);
        return chosen >= 0 && static_cast<size_t>(chosen) < classes.size() &&
               classes[static_cast<size_t>(chosen)] == "Brevane_DeepThing" &&
               ListBoxItems(instanceList_) == std::vector<std::string>{"deep one"};
      },
      30s))
      << StatusPanelText(status_, 2);
  EXPECT_TRUE(WaitUntil([&] { return TreeSelectedText(tree) == "Deep"; }, 30s))
      << TreeSelectedText(tree);
  EXPECT_FALSE(Has(ListBoxItems(classList_), "Brevane_Shallow"));
}

}  // namespace
}  // namespace brevane::e2e
