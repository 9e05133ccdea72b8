#include "dialogs/shell_failure.h"

namespace brevane::dialogs {

namespace {

// The shell's old return values (SE_ERR_*) and the Windows error codes with the same meaning,
// which ShellExecuteEx reports for them.
struct ReturnedCode {
  intptr_t returned;
  uint32_t error;
};
constexpr ReturnedCode kReturnedCodes[] = {
    {0, 8},      // out of memory or resources: ERROR_NOT_ENOUGH_MEMORY
    {2, 2},      // SE_ERR_FNF: ERROR_FILE_NOT_FOUND
    {3, 3},      // SE_ERR_PNF: ERROR_PATH_NOT_FOUND
    {5, 5},      // SE_ERR_ACCESSDENIED: ERROR_ACCESS_DENIED
    {8, 8},      // SE_ERR_OOM: ERROR_NOT_ENOUGH_MEMORY
    {11, 11},    // ERROR_BAD_FORMAT
    {26, 32},    // SE_ERR_SHARE: ERROR_SHARING_VIOLATION
    {27, 1155},  // SE_ERR_ASSOCINCOMPLETE: ERROR_NO_ASSOCIATION
    {28, 1156},  // SE_ERR_DDETIMEOUT: ERROR_DDE_FAIL
    {29, 1156},  // SE_ERR_DDEFAIL
    {30, 1156},  // SE_ERR_DDEBUSY
    {31, 1155},  // SE_ERR_NOASSOC: ERROR_NO_ASSOCIATION
    {32, 1157},  // SE_ERR_DLLNOTFOUND: ERROR_DLL_NOT_FOUND
};
constexpr uint32_t kGenericFailure = 31;  // ERROR_GEN_FAILURE

}  // namespace

uint32_t ShellFailureCode(intptr_t returned, uint32_t lastError) {
  if (lastError != 0) return lastError;
  for (const ReturnedCode& code : kReturnedCodes) {
    if (code.returned == returned) return code.error;
  }
  return kGenericFailure;
}

}  // namespace brevane::dialogs
