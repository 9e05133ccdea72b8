#include "app/query_texts.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

TEST(QueryTextsTest, TimesUseTheLocaleSeparatorAndCountsTheirNumber) {
  EXPECT_EQ(QueryTimeText(1234, ","), "Query execution time: 1,2340 sec");
  EXPECT_EQ(QueryTimeText(5, "."), "Query execution time: 0.0050 sec");
  EXPECT_EQ(QueryProgressText(1), "Running query... 1 object");
  EXPECT_EQ(QueryProgressText(12345), "Running query... 12345 objects");
  EXPECT_EQ(QueryStoppedText(250, 0, "."), "Query stopped after 0.2500 sec, 0 objects");
  EXPECT_EQ(WatchingEventsText(1), "Watching events... 1 event");
  EXPECT_EQ(WatchingEventsText(0), "Watching events... 0 events");
  EXPECT_EQ(WatchStoppedText(61500, 250000, ","), "Watch stopped after 61,5000 sec, 250000 events");
  EXPECT_EQ(ConnectingText("srv01"), "Connecting to srv01...");
}

}  // namespace
}  // namespace brevane::app
