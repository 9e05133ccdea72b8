#include "dialogs/shell_failure.h"

#include <gtest/gtest.h>

namespace brevane::dialogs {
namespace {

TEST(ShellFailureCode, LastErrorFirstElseTheReturnedCodesMeaningNeverSuccess) {
  struct Case {
    intptr_t returned;
    uint32_t lastError, expected;
  };
  const Case cases[] = {
      {2, 5, 5},      // the shell's own last error wins
      {0, 0, 8},      // out of memory or resources
      {2, 0, 2},      // file not found
      {3, 0, 3},      // path not found
      {5, 0, 5},      // access denied
      {26, 0, 32},    // sharing violation
      {27, 0, 1155},  // association incomplete
      {29, 0, 1156},  // DDE failure
      {31, 0, 1155},  // no association
      {32, 0, 1157},  // DLL not found
      {17, 0, 31},    // an undocumented value: a general failure
      {-1, 0, 31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShellFailureCode(c.returned, c.lastError), c.expected) << c.returned;
  }
}

}  // namespace
}  // namespace brevane::dialogs
