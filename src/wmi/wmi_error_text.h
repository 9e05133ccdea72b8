#pragma once
// How a failing WMI or COM status becomes the one line of failure text the user sees. The
// platform calls that supply the raw texts live in the COM backend; the choice between them and
// our own fallbacks is here, so that it behaves the same on every platform and can be tested.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevane::wmi {

// Removes leading blanks and control characters, and trailing blanks, control characters and
// periods: platform texts end with ". ", " " or a line break, which have no place in a status
// bar or a message box line.
std::string CleanErrorDescription(std::string_view text);

// True for the texts a WMI status-text provider gives when it knows no text for a code (the
// "Error code: 0x8004100E" placeholder), which must count as no text at all.
bool IsPlaceholderErrorText(std::string_view text);

// Our own text for the common WMI, RPC and COM failures, for platforms that supply none;
// empty when the code is not in the table.
std::string_view KnownStatusText(int32_t status);

// "OLE error 8004100E": the last resort, eight upper-case hexadecimal digits.
std::string OleErrorText(int32_t status);

// The failure text of a failing status, in order of preference: the description that came with
// the failure, the platform's message text for the code, our table, "OLE error". The two platform
// texts are cleaned first and count as missing when empty or a placeholder.
std::string ComposeFailureText(int32_t status, std::string_view description,
                               std::string_view codeText);

}  // namespace brevane::wmi
