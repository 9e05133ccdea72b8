#pragma once
// Help file choice and the help command's messages, independent of the HTML Help viewer.
#include <functional>
#include <string>

namespace brevane::util {

// The monitor's help file wins over our own, so a shared installation shows one help.
inline constexpr const char* kMonitorHelpFileName = "kestrum.chm";
inline constexpr const char* kOwnHelpFileName = "brevane.chm";
inline constexpr const char* kHelpStartTopic = "::/HTML/wmi/index.htm";
inline constexpr const char* kHelpErrorTitle = "Error";

using FileExistsFunction = std::function<bool(const std::string& path)>;

// The full path of the help file in programDir (which ends in a backslash), or empty.
std::string ChooseHelpFile(const std::string& programDir, const FileExistsFunction& fileExists);

// The topic that the help command shows: the start page inside helpFile.
std::string StartPageTopic(const std::string& helpFile);

// The two-line texts of the help command's error boxes.
std::string HelpFileNotFoundMessage();
std::string HelpControlMissingMessage();

enum class HelpProblem { None, NoHelpFile, NoHelpControl };

// The order of the help command's checks: a missing help file is reported first, whether or
// not the viewer is available.
HelpProblem CheckHelpAvailable(const std::string& helpFile, bool helpControlLoaded);

}  // namespace brevane::util
