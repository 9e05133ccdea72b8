// Event queries on a worker: telling them from ordinary queries, the rows they stream, and a
// stop that is seen at once even while no event comes.
#include "wmi/event_watch.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/fake_events.h"
#include "support/fake_wmi.h"
#include "support/test_dispatcher.h"
#include "wmi/event_rows.h"
#include "wmi/wmi_session.h"

namespace brevane::wmi::event_watch_test {
namespace {

using namespace std::chrono_literals;
using testing::FakeWmi;
using testing::TestDispatcher;

constexpr const char* kWatchNs = "root\\cimv2";

struct WatchLog {
  int watching = 0;
  std::vector<ResultTable> batches;
  int rows = 0;
  int queryRows = 0;
  int ends = 0;
  QueryEnd end;
};

class EventWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::AddEventWorld(*fake, 20ms);
    fake->AddClass(kWatchNs, "Item", "", {"Name"});
    fake->AddInstance(kWatchNs, "Item", {{"Name", Value::Text("a")}});
  }
  void TearDown() override { EXPECT_TRUE(worker.Shutdown(5s)); }

  void Watch(const std::string& text, WatchLog& log) {
    StartQueryOrWatch(worker, {".", kWatchNs, "", ""}, RegionalSettings{}, text,
                      {{},
                       [&log](ResultTable&& batch) { log.queryRows += batch.rows; },
                       [&log](const QueryEnd& end) { ++log.ends, log.end = end; }},
                      {[&log] { ++log.watching; },
                       [&log](ResultTable&& batch) {
                         log.rows += batch.rows;
                         log.batches.push_back(std::move(batch));
                       },
                       [&log](const QueryEnd& end) { ++log.ends, log.end = end; }});
  }

  std::shared_ptr<FakeWmi> fake = std::make_shared<FakeWmi>();
  std::shared_ptr<TestDispatcher> dispatcher = std::make_shared<TestDispatcher>();
  RequestWorker worker{fake, dispatcher};
};

TEST_F(EventWatchTest, AQueryIsAnEventQueryWhenItsClassDerivesFromEvent) {
  const struct {
    const char* query;
    bool event;
  } cases[] = {
      {"SELECT * FROM __InstanceCreationEvent WITHIN 2 WHERE TargetInstance ISA 'Win32_Process'",
       true},
      {"select ProcessName from win32_processstarttrace", true},
      {"SELECT * FROM __Event", true},
      {"SELECT * FROM Item", false},
      {"SELECT * FROM NoSuchClass", false},  // the ordinary query reports it
      {"ASSOCIATORS OF {Item.Name=\"a\"}", false},
      {"", false},
  };
  auto services = ConnectWmi(*fake, ".", kWatchNs, "", "");
  for (const auto& c : cases) EXPECT_EQ(IsEventQueryOn(*services, c.query), c.event) << c.query;
}

// Each event is a row: "Time" first, then its properties, the TargetInstance's own flattened
// into columns of their own; ordinary queries still run as queries on the same call.
TEST_F(EventWatchTest, EventsStreamAsRowsWithTheTargetInstanceFlattened) {
  WatchLog log;
  Watch(
      "SELECT * FROM __InstanceCreationEvent WITHIN 1 WHERE TargetInstance ISA "
      "'Win32_Process'",
      log);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return log.rows >= 3; }));
  EXPECT_EQ(log.watching, 1);
  const ResultTable& first = log.batches.front();
  const util::StringList names(first.columnNames.begin(),
                               first.columnNames.begin() + first.rowLengths.front());
  EXPECT_EQ(names, (util::StringList{"Time", "SECURITY_DESCRIPTOR", "TargetInstance.Name",
                                     "TargetInstance.ProcessId", "TIME_CREATED"}));
  EXPECT_EQ(first.values[2], "proc0.exe");
  EXPECT_TRUE(
      std::regex_match(first.values[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})")))
      << first.values[0];
  worker.Cancel();
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(log.ends, 0);  // a stop is no end to report

  WatchLog query;
  Watch("SELECT * FROM Item", query);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return query.ends == 1; }));
  EXPECT_TRUE(query.end.ok);
  EXPECT_EQ(query.queryRows, 1);
  EXPECT_EQ(query.watching, 0);
}

// A watch that never sees an event still ends within 250 ms of the stop: shutting the worker
// down waits for its thread.
TEST_F(EventWatchTest, AWatchWithoutEventsStopsAtOnce) {
  WatchLog log;
  Watch("SELECT * FROM __InstanceDeletionEvent WITHIN 2", log);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return log.watching == 1; }));
  dispatcher->PumpUntil([] { return false; }, 100ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(worker.Shutdown(5s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 250ms);
  EXPECT_EQ(log.rows, 0);
}

TEST_F(EventWatchTest, AWatchThatFailsSaysWhy) {
  fake->FailCall("ExecNotificationQuery", WmiError(static_cast<int32_t>(0x80041001u), "Boom"));
  WatchLog log;
  Watch("SELECT * FROM Win32_ProcessStartTrace", log);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return log.ends == 1; }));
  EXPECT_FALSE(log.end.ok);
  EXPECT_EQ(log.end.errorText, "Error: Boom");
}

// An object property that holds nothing, or whose object cannot be read, stays one column.
TEST(EventRowTest, AnObjectPropertyWithoutAReadableObjectStaysOneColumn) {
  const struct {
    bool failEmbedded;
    bool withTarget;
    util::StringList names;
  } cases[] = {
      {false, true, {"Time", "TargetInstance", "Kind"}},  // no object behind it
      {false, false, {"Time", "TargetInstance", "Kind"}},
      {true, true, {"Time", "TargetInstance", "Kind"}},
  };
  for (const auto& c : cases) {
    auto fake = std::make_shared<FakeWmi>();
    fake->AddClass(kWatchNs, "Ev", "", {"TargetInstance", "Kind"});
    fake->AddInstance(
        kWatchNs, "Ev",
        {{"TargetInstance", c.withTarget ? testing::cim::Object() : testing::cim::Null(kCimObject)},
         {"Kind", Value::Text("x")}});
    if (c.failEmbedded) fake->FailCall("EmbeddedObject", WmiError(1, "no"));
    auto services = ConnectWmi(*fake, ".", kWatchNs, "", "");
    auto objects = services->InstancesOf("Ev", 0)->NewEnum();
    std::unique_ptr<Object> event;
    ASSERT_TRUE(objects->Next(event));
    util::StringList names, values;
    AppendEventRow(*event, RegionalSettings{}, "t", names, values);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(values.front(), "t");
  }
}

}  // namespace
}  // namespace brevane::wmi::event_watch_test
