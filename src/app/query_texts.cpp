#include "app/query_texts.h"

#include "util/text.h"

namespace brevane::app {

namespace {

std::string Seconds(long long milliseconds, const std::string& decimalSeparator) {
  std::string text = util::Format("%1.4f", static_cast<double>(milliseconds) / 1000.0);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, decimalSeparator);
  return text;
}

}  // namespace

std::string QueryTimeText(long long milliseconds, const std::string& decimalSeparator) {
  return "Query execution time: " + Seconds(milliseconds, decimalSeparator) + " sec";
}

std::string QueryProgressText(int objects) {
  return "Running query... " + std::to_string(objects) + (objects == 1 ? " object" : " objects");
}

std::string WatchingEventsText(long long events) {
  return "Watching events... " + std::to_string(events) + (events == 1 ? " event" : " events");
}

std::string WatchStoppedText(long long milliseconds, long long events,
                             const std::string& decimalSeparator) {
  return "Watch stopped after " + Seconds(milliseconds, decimalSeparator) + " sec, " +
         std::to_string(events) + (events == 1 ? " event" : " events");
}

std::string QueryStoppedText(long long milliseconds, int objects,
                             const std::string& decimalSeparator) {
  return "Query stopped after " + Seconds(milliseconds, decimalSeparator) + " sec, " +
         std::to_string(objects) + (objects == 1 ? " object" : " objects");
}

std::string ConnectingText(const std::string& host) {
  return "Connecting to " + host + "...";
}

}  // namespace brevane::app
