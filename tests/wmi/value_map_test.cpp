#include "wmi/value_map.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

using Strings = std::vector<std::string>;

TEST(ValueMapTest, ChoicesShowTheNamesAndSendTheValues) {
  const auto choices = ValueChoices({"0", "2", "16..31", "0x40", ".."},
                                    {"Success", "Access Denied", "Reserved", "Odd", "Other"});
  ASSERT_EQ(choices.size(), 3u);  // ranges are no single value
  EXPECT_EQ(choices[1].display, "Access Denied");
  EXPECT_EQ(choices[1].sent, "2");
  EXPECT_EQ(choices[2].sent, "0x40");

  // Names alone stand for their positions; values alone show themselves; a value without a
  // name where the lists differ shows itself.
  const auto positional = ValueChoices({}, {"Off", "On"});
  EXPECT_EQ(positional.at(1).sent, "1");
  EXPECT_EQ(positional.at(1).display, "On");
  const auto unnamed = ValueChoices({"Boot", "System", "Auto"}, {"Boot"});
  EXPECT_EQ(unnamed.at(2).display, "Auto");

  EXPECT_EQ(ChosenValue("Access Denied", choices), "2");
  EXPECT_EQ(ChosenValue("2", choices), "2");
  EXPECT_EQ(ChosenValue("77", choices), "77");
}

TEST(ValueMapTest, MeaningsOfReturnCodes) {
  const Strings map = {"0", "1", "10", "0x20", "100..199", "..", "-5"};
  const Strings names = {"Success", "Not Supported", "Service Already Running", "Hex", "Range",
                         "Other",   "Negative"};
  const struct {
    const char* value;
    const char* meaning;
  } cases[] = {
      {"10", "10 = Service Already Running"},
      {"0", "0 = Success"},
      {"32", "32 = Hex"},
      {"150", "150 = Range"},
      {"-5", "-5 = Negative"},
      {"7", "7 = Other"},
      {"18446744073709551615", "18446744073709551615 = Other"},
      {"abc", "abc"},  // not a number: only a textual entry could name it
  };
  for (const auto& c : cases) EXPECT_EQ(ValueMeaning(c.value, map, names), c.meaning) << c.value;

  EXPECT_EQ(ValueMeaning("7", {"0", "5..9"}, {"Ok"}), "7");  // a range without a name
  EXPECT_EQ(ValueMeaning("1", {}, {"Off", "On"}), "1 = On");
  EXPECT_EQ(ValueMeaning("2", {}, {"Off", "On"}), "2");
  EXPECT_EQ(ValueMeaning("Manual", {"Automatic", "Manual"}, {"Auto", "By hand"}),
            "Manual = By hand");
  EXPECT_EQ(ValueMeaning("3", {}, {}), "3");
}

}  // namespace
}  // namespace brevane::wmi
