#include "util/help_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brevane::util {
namespace {

TEST(ChooseHelpFileTest, MonitorFileBeforeOwnFile) {
  const std::string dir = "C:\\Tools\\";
  const struct {
    std::set<std::string> present;
    std::string expected;
  } cases[] = {
      {{dir + "kestrum.chm", dir + "brevane.chm"}, dir + "kestrum.chm"},
      {{dir + "brevane.chm"}, dir + "brevane.chm"},
      {{dir + "kestrum.chm"}, dir + "kestrum.chm"},
      {{}, ""},
      {{"C:\\Other\\brevane.chm"}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseHelpFile(dir, [&](const std::string& p) { return c.present.count(p) > 0; }),
              c.expected);
  }
}

TEST(HelpMessagesTest, TextsAndOrderOfChecks) {
  EXPECT_EQ(StartPageTopic("C:\\a\\brevane.chm"), "C:\\a\\brevane.chm::/HTML/wmi/index.htm");
  EXPECT_EQ(HelpFileNotFoundMessage(),
            "Help file not found: kestrum.chm\r\nHelp file not found: brevane.chm");
  EXPECT_EQ(HelpControlMissingMessage(),
            "Library hhctrl.ocx not initialized\r\nMake sure you have Internet Explorer 4.0 or "
            "higher installed on your computer");
  EXPECT_EQ(CheckHelpAvailable("", false), HelpProblem::NoHelpFile);
  EXPECT_EQ(CheckHelpAvailable("", true), HelpProblem::NoHelpFile);
  EXPECT_EQ(CheckHelpAvailable("x.chm", false), HelpProblem::NoHelpControl);
  EXPECT_EQ(CheckHelpAvailable("x.chm", true), HelpProblem::None);
}

}  // namespace
}  // namespace brevane::util
