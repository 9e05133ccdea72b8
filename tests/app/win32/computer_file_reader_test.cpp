#include "app/win32/computer_file_reader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/win32/encoding.h"
#include "temp_folder.h"

namespace brevane::app::win32 {
namespace {

TEST(ComputerFileReader, ReadsListsBoundsBigFilesAndExplainsMissingOnes) {
  testing::TempFolder folder;
  const std::wstring list = folder.File(L"計算機 list.txt");
  ASSERT_TRUE(testing::WriteBytes(list, std::string("\xFF\xFE"
                                                    "a\0\n\0b\0",
                                                    8)));
  const std::string path = framework::win32::WideToUtf8(list);
  const ComputerList parsed = ParseComputerList("@\"" + path + "\" c", ReadComputerFile);
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.names, (std::vector<std::string>{"a", "b", "c"}));

  const std::wstring big = folder.File(L"big.txt");
  ASSERT_TRUE(testing::WriteBytes(big, std::string(200000, 'x')));
  const ComputerFileRead bounded = ReadComputerFile(framework::win32::WideToUtf8(big), 70000);
  ASSERT_TRUE(bounded.bytes);
  EXPECT_EQ(bounded.bytes->size(), 70001u);

  const ComputerFileRead missing =
      ReadComputerFile(framework::win32::WideToUtf8(folder.File(L"none.txt")), 100);
  EXPECT_FALSE(missing.bytes);
  EXPECT_FALSE(missing.error.empty());
}

}  // namespace
}  // namespace brevane::app::win32
