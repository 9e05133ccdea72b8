#include "util/help_texts.h"

namespace brevane::util {

std::string ChooseHelpFile(const std::string& programDir, const FileExistsFunction& fileExists) {
  for (const char* name : {kMonitorHelpFileName, kOwnHelpFileName}) {
    std::string path = programDir + name;
    if (fileExists(path)) return path;
  }
  return {};
}

std::string StartPageTopic(const std::string& helpFile) {
  return helpFile + kHelpStartTopic;
}

std::string HelpFileNotFoundMessage() {
  return std::string("Help file not found: ") + kMonitorHelpFileName + "\r\n" +
         "Help file not found: " + kOwnHelpFileName;
}

std::string HelpControlMissingMessage() {
  return "Library hhctrl.ocx not initialized\r\n"
         "Make sure you have Internet Explorer 4.0 or higher installed on your computer";
}

HelpProblem CheckHelpAvailable(const std::string& helpFile, bool helpControlLoaded) {
  if (helpFile.empty()) return HelpProblem::NoHelpFile;
  if (!helpControlLoaded) return HelpProblem::NoHelpControl;
  return HelpProblem::None;
}

}  // namespace brevane::util
