#pragma once
// What a failed request to the shell to open a link is reported as.
#include <cstdint>

namespace brevane::dialogs {

// The Windows error code of a failed ShellExecute: the thread's last error when the shell set
// one, else the error that the returned value (32 or less) stands for. Never 0 ("The operation
// completed successfully"), since the call failed.
uint32_t ShellFailureCode(intptr_t returned, uint32_t lastError);

}  // namespace brevane::dialogs
