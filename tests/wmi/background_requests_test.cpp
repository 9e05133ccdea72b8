// The requests the window waits for, run on workers: queries and class lists that stream,
// property fetches where the latest choice wins, cancels and abandoned workers.
#include <gtest/gtest.h>

#include <thread>

#include "support/fake_wmi.h"
#include "support/test_dispatcher.h"
#include "support/vector_instance_list.h"
#include "wmi/class_list_stream.h"
#include "wmi/instance_loader.h"
#include "wmi/object_fetch.h"
#include "wmi/query_stream.h"

namespace brevane::wmi::background_test {
namespace {

using namespace std::chrono_literals;
using testing::FakeWmi;
using testing::TestDispatcher;
using Lines = std::vector<std::string>;

constexpr const char* kNs = "root\\cimv2";

struct QueryLog {
  Lines firstColumn;  // each row's first value, in arrival order
  int batches = 0;
  int ends = 0;
  QueryEnd end;
};

class BackgroundRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake->AddClass(kNs, "Item", "", {"Name", "Size"});
    for (int i = 0; i < 2000; ++i) {
      fake->AddInstance(kNs, "Item",
                        {{"Name", Value::Text("i" + std::to_string(i))}, {"Size", Value::Int(i)}});
    }
    fake->AddClass(kNs, "Keyless", "", {"Size"});
    for (int i = 0; i < 4; ++i) fake->AddInstance(kNs, "Keyless", {{"Size", Value::Int(10 * i)}});
    fake->SetKeyless("Keyless");
    fake->AddClass(kNs, "Empty", "", {"Name"});
    fake->AddHost("other");
  }

  void TearDown() override { EXPECT_TRUE(worker.Shutdown(5s)); }

  void Query(const std::string& text, QueryLog& log, const std::string& host = ".") {
    StartQuery(worker, {host, kNs, "", ""}, RegionalSettings{}, text,
               {{},
                [&log](ResultTable&& batch) {
                  ++log.batches;
                  size_t cell = 0;
                  for (int length : batch.rowLengths) {
                    log.firstColumn.push_back(batch.values[cell]);
                    cell += static_cast<size_t>(length);
                  }
                },
                [&log](const QueryEnd& end) {
                  ++log.ends;
                  log.end = end;
                }});
  }

  PropertyListing Fetch(const std::string& className, const std::string& path, int position) {
    PropertyListing answer;
    bool done = false;
    StartInstanceFetch(worker, {".", kNs, "", ""}, RegionalSettings{}, className, path, position,
                       [&](PropertyListing&& listing) {
                         answer = std::move(listing);
                         done = true;
                       });
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return done; }));
    return answer;
  }

  // Loads a class with the instance loader, as the window does, and returns its lines' paths.
  Lines LoadedPaths(const std::string& className) {
    testing::VectorInstanceList list;
    bool done = false;
    InstanceLoader loader(fake, dispatcher, RegionalSettings{});
    loader.SetOnDone([&](int, const std::string&) { done = true; });
    loader.RequestInstances(".", kNs, "", "", className, &list);
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return done; }));
    Lines paths;
    for (int line = 0; line < list.Count(); ++line) paths.push_back(loader.PathOf(line));
    return paths;
  }

  std::shared_ptr<FakeWmi> fake = std::make_shared<FakeWmi>();
  std::shared_ptr<TestDispatcher> dispatcher = std::make_shared<TestDispatcher>();
  RequestWorker worker{fake, dispatcher};
};

TEST_F(BackgroundRequestsTest, QueryStreamsEveryObjectInOrder) {
  fake->SetPacedDelay(200us, 10);
  QueryLog log;
  Query("select Name, Size from Item", log);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return log.ends == 1; }));
  ASSERT_TRUE(log.end.ok) << log.end.errorText;
  EXPECT_EQ(log.end.rows, 2000);
  ASSERT_EQ(log.firstColumn.size(), 2000u);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(log.firstColumn[i], "i" + std::to_string(i));
  EXPECT_GT(log.batches, 1);  // streamed, not handed over at the end
}

// Asked to return at once, Windows reports failures from the enumerator: before the first
// object they fail the query as the synchronous call did, later they leave a partial result
// that is not shown as complete.
TEST_F(BackgroundRequestsTest, QueryFailuresFromTheEnumeratorAreFailures) {
  struct Case {
    std::string query;
    bool ok;
    int rows;
    std::string error;
  };
  fake->RaiseFromNext(true);
  fake->AddEnumerationFault({"ExecQuery", "Keyless", 2, true,
                             WmiError(testing::fake_status::kGenericFailure, "Generic failure")});
  const Case cases[] = {
      {"select * from Empty", true, 0, ""},
      {"select * from Win32_Proces", false, 0, "Error: Invalid class"},
      {"selec nothing", false, 0, "Error: Invalid query"},
      {"select * from Keyless", false, 2, "Error: Generic failure"},
  };
  for (const Case& c : cases) {
    QueryLog log;
    Query(c.query, log);
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return log.ends == 1; })) << c.query;
    EXPECT_EQ(log.end.ok, c.ok) << c.query;
    EXPECT_EQ(log.end.rows, c.rows) << c.query;
    EXPECT_EQ(static_cast<int>(log.firstColumn.size()), c.rows) << c.query;
    EXPECT_EQ(log.end.errorText, c.error) << c.query;
  }
}

TEST_F(BackgroundRequestsTest, NewQueryCancelAndHostChangeDropEverythingStale) {
  fake->SetHangAt(3, "ExecQuery");
  QueryLog first;
  Query("select * from Item", first);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return first.firstColumn.size() == 3; }));
  // A new query replaces the hanging one at once; the old one sends nothing more.
  fake->SetHangAt(std::nullopt);
  QueryLog second;
  Query("select * from Keyless", second);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return second.ends == 1; }));
  EXPECT_EQ(second.firstColumn, (Lines{"0", "10", "20", "30"}));
  fake->ReleaseHang();
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(first.firstColumn.size(), 3u);
  EXPECT_EQ(first.ends, 0);

  // A cancel in the middle of the stream: nothing after it arrives.
  fake->SetPacedDelay(1ms, 1);
  QueryLog cancelled;
  Query("select * from Item", cancelled);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return !cancelled.firstColumn.empty(); }));
  worker.Cancel();
  const size_t shown = cancelled.firstColumn.size();
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(cancelled.firstColumn.size(), shown);
  EXPECT_EQ(cancelled.ends, 0);
  fake->SetPacedDelay(0us, 1);

  // Another host: the worker connects again instead of reusing the connection.
  const int connects = fake->ConnectCount();
  QueryLog remote;
  Query("select * from Keyless", remote, "other");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return remote.ends == 1; }));
  EXPECT_TRUE(remote.end.ok);
  EXPECT_EQ(fake->ConnectCount(), connects + 1);
}

TEST_F(BackgroundRequestsTest, CancelDuringAConnectThatNeverReturns) {
  fake->HoldConnections(true);
  QueryLog stuck;
  Query("select * from Item", stuck);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return fake->ConnectCount() == 1; }));
  worker.Cancel();
  // The next request does not wait behind the stuck one.
  fake->HoldConnections(false);
  QueryLog next;
  Query("select * from Keyless", next);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return next.ends == 1; }));
  EXPECT_EQ(next.firstColumn.size(), 4u);
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(stuck.ends, 0);
  EXPECT_TRUE(stuck.firstColumn.empty());
}

TEST_F(BackgroundRequestsTest, ThreadsStuckOnOneHostAreBoundedAndTheLatestRequestRunsLast) {
  constexpr int kCap = RequestWorker::kMaxThreadsPerHost;
  fake->HoldConnections(true);
  std::vector<QueryLog> stuck(3 * kCap);
  for (size_t i = 0; i < stuck.size(); ++i) {
    Query("select * from Item", stuck[i]);
    const int expected = std::min(static_cast<int>(i) + 1, kCap);
    dispatcher->PumpUntil([&] { return fake->ConnectCount() == expected; }, 1s);
  }
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(fake->ConnectCount(), kCap);
  // Another host does not wait behind the stuck one; it replaces the waiting request.
  QueryLog other;
  Query("select * from Keyless", other, "other");
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return fake->ConnectCount() == kCap + 1; }));
  QueryLog last;
  Query("select * from Keyless", last);
  fake->HoldConnections(false);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return last.ends == 1; }));
  EXPECT_TRUE(last.end.ok);
  EXPECT_EQ(last.firstColumn.size(), 4u);
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(other.ends, 0);
  for (const QueryLog& log : stuck) EXPECT_EQ(log.ends, 0);
  // The waiting request ran on a thread that came free: at most one more connection.
  EXPECT_LE(fake->ConnectCount(), kCap + 2);
}

// A request that stops in time hands its thread, and its connection, to the next one: holding
// an arrow key on a slow computer does not log in again for every line.
TEST_F(BackgroundRequestsTest, ANewRequestTakesOverTheThreadOfOneThatStops) {
  fake->SetPacedDelay(1ms, 1);
  for (int i = 0; i < 5; ++i) {
    QueryLog log;
    Query("select * from Item", log);
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return !log.firstColumn.empty(); }));
  }
  fake->SetPacedDelay(0us, 1);
  QueryLog last;
  Query("select * from Keyless", last);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return last.ends == 1; }));
  EXPECT_EQ(last.firstColumn.size(), 4u);
  EXPECT_EQ(fake->ConnectCount(), 1);
}

// The cap on threads stuck with one computer holds across the workers that share a counter,
// however the computer's name is written.
TEST_F(BackgroundRequestsTest, ThreadsPerHostAreCountedAcrossWorkersAndSpellings) {
  constexpr int kCap = RequestWorker::kMaxThreadsPerHost;
  auto hosts = std::make_shared<HostThreadCounter>();
  RequestWorker first(fake, dispatcher, hosts);
  RequestWorker second(fake, dispatcher, hosts);
  fake->HoldConnections(true);
  const char* spellings[] = {"other", "\\OTHER", "Other "};
  std::vector<QueryLog> logs(3 * kCap);
  for (size_t i = 0; i < logs.size(); ++i) {
    StartQuery(i % 2 ? first : second, {spellings[i % 3], kNs, "", ""}, RegionalSettings{},
               "select * from Item", {{}, [](ResultTable&&) {}, [](const QueryEnd&) {}});
    dispatcher->PumpUntil([&] { return fake->ConnectCount() == std::min<int>(i + 1, kCap); }, 1s);
  }
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(fake->ConnectCount(), kCap);
  fake->HoldConnections(false);
  first.Shutdown(5s);
  second.Shutdown(5s);
}

// Shutdown tells every worker first and waits once: a worker stuck in a connect does not eat
// the time of the others, which end cleanly.
TEST(RequestWorkerShutdownTest, EveryWorkerIsToldBeforeAnyIsWaitedFor) {
  auto fake = std::make_shared<FakeWmi>();
  auto dispatcher = std::make_shared<TestDispatcher>();
  fake->AddClass(kNs, "Item", "", {"Name"});
  for (int i = 0; i < 3; ++i) fake->AddInstance(kNs, "Item", {{"Name", Value::Text("x")}});
  testing::VectorInstanceList list;
  InstanceLoader loader(fake, dispatcher, RegionalSettings{});
  fake->SetHangAt(1, "InstancesOf");
  loader.RequestInstances(".", kNs, "", "", "Item", &list);
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return list.lines.size() == 2; }));
  fake->HoldConnections(true);
  RequestWorker worker(fake, dispatcher);
  StartQuery(worker, {"elsewhere", kNs, "", ""}, RegionalSettings{}, "select * from Item",
             {{}, [](ResultTable&&) {}, [](const QueryEnd&) {}});
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return fake->ConnectCount() == 2; }));
  worker.BeginShutdown();
  loader.BeginShutdown();
  const auto deadline = std::chrono::steady_clock::now() + 100ms;
  EXPECT_FALSE(worker.FinishShutdown(deadline));
  EXPECT_TRUE(loader.FinishShutdown(deadline));
  fake->HoldConnections(false);
}

TEST(RequestWorkerShutdownTest, StuckConnectIsAbandonedWithinTheBound) {
  auto fake = std::make_shared<FakeWmi>();
  auto dispatcher = std::make_shared<TestDispatcher>();
  fake->AddClass(kNs, "Item", "", {"Name"});
  fake->HoldConnections(true);
  int calls = 0;
  {
    RequestWorker worker(fake, dispatcher);
    StartQuery(
        worker, {".", kNs, "", ""}, RegionalSettings{}, "select * from Item",
        {[&] { ++calls; }, [&](ResultTable&&) { ++calls; }, [&](const QueryEnd&) { ++calls; }});
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return fake->ConnectCount() == 1; }));
    EXPECT_FALSE(worker.Shutdown(100ms));
  }
  // The abandoned thread finishes later; what it sends never runs.
  fake->HoldConnections(false);
  dispatcher->PumpUntil([] { return false; }, 100ms);
  EXPECT_EQ(calls, 1);  // only "connecting", sent before the shutdown
}

TEST_F(BackgroundRequestsTest, ClassListStreamsAndHidesEmptyClasses) {
  struct Case {
    bool hideEmpty;
    Lines expected;
  };
  for (const Case& c :
       {Case{false, {"Item", "Keyless", "Empty"}}, Case{true, {"Item", "Keyless"}}}) {
    Lines names;
    int ends = 0;
    bool ok = false;
    int connecting = 0;
    StartClassList(
        worker, {"other", kNs, "", ""}, c.hideEmpty,
        {[&] { ++connecting; },
         {},
         [&](util::StringList&& batch) { names.insert(names.end(), batch.begin(), batch.end()); },
         [&](bool success, const std::string&) {
           ++ends;
           ok = success;
         }});
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 1; }));
    EXPECT_TRUE(ok);
    EXPECT_EQ(names, c.expected);
  }
}

// Hiding empty classes asks each class for its first path only, a short while: a class that
// does not answer in time stays, and the installer's products are never asked at all.
TEST_F(BackgroundRequestsTest, HidingEmptyClassesNeverEnumeratesThem) {
  fake->AddClass(kNs, "Win32_Product", "", {"Name"});
  fake->AddClass(kNs, "Slow", "", {"Name"});
  auto hidingEmpty = [&](std::chrono::milliseconds wait) {
    Lines names;
    bool ended = false;
    StartClassList(
        worker, {".", kNs, "", ""}, true,
        {{},
         {},
         [&](util::StringList&& batch) { names.insert(names.end(), batch.begin(), batch.end()); },
         [&](bool, const std::string&) { ended = true; }},
        wait);
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return ended; }));
    return names;
  };
  // No class answers in time: all stay, and none was walked to its end.
  fake->SetHangAt(0, "ExecQuery");
  EXPECT_EQ(hidingEmpty(20ms), (Lines{"Item", "Keyless", "Empty", "Win32_Product", "Slow"}));
  fake->SetHangAt(std::nullopt);
  EXPECT_EQ(hidingEmpty(kFirstInstanceWait), (Lines{"Item", "Keyless", "Win32_Product"}));
}

// The class list connects with the parameters it is given and ends with the connection's own
// failure text; names that came before a failure stay.
TEST_F(BackgroundRequestsTest, ClassListConnectionAndFailures) {
  fake->RequireCredentials("ann", "right");
  fake->AddEnumerationFault({"SubclassesOf", "", 2, true,
                             WmiError(testing::fake_status::kGenericFailure, "Generic failure")});
  struct Case {
    ConnectionParams conn;
    std::string errorText;
    Lines names;
  };
  const Case cases[] = {
      {{"other", kNs, "ann", "wrong"}, "Access is denied", {}},
      {{"other", "root\\nosuch", "ann", "right"}, "Invalid namespace", {}},
      {{"nowhere", kNs, "ann", "right"}, "The RPC server is unavailable", {}},
      {{"other", kNs, "ann", "right"}, "Generic failure", {"Item", "Keyless"}},
  };
  for (const Case& c : cases) {
    Lines names;
    bool ended = false;
    std::string errorText;
    StartClassList(
        worker, c.conn, false,
        {{},
         {},
         [&](util::StringList&& batch) { names.insert(names.end(), batch.begin(), batch.end()); },
         [&](bool ok, const std::string& text) {
           ended = true;
           errorText = ok ? "ok" : text;
         }});
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return ended; }));
    EXPECT_EQ(errorText, c.errorText) << c.conn.host << " " << c.conn.ns;
    EXPECT_EQ(names, c.names) << c.errorText;
    EXPECT_EQ(fake->LastConnectUser(), c.conn.user);
    EXPECT_EQ(fake->LastConnectPassword(), c.conn.password);
  }
}

TEST_F(BackgroundRequestsTest, InstancesByPathLatestChoiceWinsAndGoneInstances) {
  fake->RemoveAfterWalk("Item", 1999);
  const Lines paths = LoadedPaths("Item");
  ASSERT_EQ(paths.size(), 2000u);
  EXPECT_EQ(paths[5], "Item.Name=\"i5\"");

  // The last line of a big class comes by its path, without a walk, with the name its
  // computer writes into paths.
  fake->SetComputerName("PC01");
  PropertyListing last = Fetch("Item", paths[1998], 1998);
  ASSERT_TRUE(last.ok) << last.errorText;
  EXPECT_EQ(last.values, (Lines{"i1998", "1998"}));
  EXPECT_EQ(last.server, "PC01");

  // Gone since the load: WMI's text, and no values of any other instance.
  PropertyListing gone = Fetch("Item", paths[1999], 1999);
  EXPECT_FALSE(gone.ok);
  EXPECT_TRUE(gone.gone);
  EXPECT_EQ(gone.errorText, "Not found");
  EXPECT_TRUE(gone.values.empty());

  // Keyless instances have no path and are found by position.
  const Lines keyless = LoadedPaths("Keyless");
  EXPECT_EQ(keyless, (Lines{"", "", "", ""}));
  PropertyListing third = Fetch("Keyless", "", 2);
  ASSERT_TRUE(third.ok);
  EXPECT_EQ(third.values, (Lines{"20"}));

  // A slow walk by position, then a choice by path: only the later answer arrives.
  fake->SetHangAt(1, "InstancesOf");
  int answers = 0;
  PropertyListing answer;
  StartInstanceFetch(worker, {".", kNs, "", ""}, RegionalSettings{}, "Keyless", "", 3,
                     [&](PropertyListing&& l) {
                       ++answers;
                       answer = std::move(l);
                     });
  StartInstanceFetch(worker, {".", kNs, "", ""}, RegionalSettings{}, "Item", paths[7], 7,
                     [&](PropertyListing&& l) {
                       ++answers;
                       answer = std::move(l);
                     });
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return answers == 1; }));
  fake->ReleaseHang();
  dispatcher->PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(answers, 1);
  EXPECT_EQ(answer.values, (Lines{"i7", "7"}));
}

// Arrowing from a class into its instances: the instance fetch replaces the class's answer on
// the worker, so when asked it brings the class's types and key marks along.
TEST_F(BackgroundRequestsTest, InstanceFetchBringsTheClassTypesWhenAsked) {
  fake->AddClass(kNs, "Typed", "", {"Name", "Size"}, {kCimString, kCimUint32});
  for (int i = 0; i < 3; ++i)
    fake->AddInstance(kNs, "Typed", {{"Name", Value::Text("t" + std::to_string(i))}});
  fake->SetQualifiers(kNs, "Typed", "Name", {true, ""});
  const struct {
    const char* className;
    const char* path;  // empty: by position
    bool withTypes;
    Lines typeNames;
    bool firstIsKey;
  } cases[] = {
      {"Typed", "Typed.Name=\"t2\"", true, {"string", "uint32"}, true},
      {"Typed", "", true, {"string", "uint32"}, true},  // by position
      {"Typed", "Typed.Name=\"t2\"", false, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.className + std::string(c.withTypes ? " with types" : ""));
    StartClassProperties(worker, {".", kNs, "", ""}, c.className, [](PropertyListing&&) {});
    PropertyListing instance;
    bool done = false;
    StartInstanceFetch(
        worker, {".", kNs, "", ""}, RegionalSettings{}, c.className, c.path, 2,
        [&](PropertyListing&& listing) {
          instance = std::move(listing);
          done = true;
        },
        c.withTypes);
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return done; }));
    ASSERT_TRUE(instance.ok) << instance.errorText;
    Lines typeNames;
    for (const PropertyType& type : instance.types) typeNames.push_back(type.typeName);
    EXPECT_EQ(typeNames, c.typeNames);
    EXPECT_EQ(!instance.types.empty() && instance.types.front().key, c.firstIsKey);
  }
}

// A provider that enumerates but cannot fetch one instance gets the instance by its position;
// other failures of the fetch stay failures.
TEST_F(BackgroundRequestsTest, FetchFallsBackToThePositionWhenTheProviderCannotGet) {
  struct Case {
    uint32_t status;
    bool ok;
    Lines values;
  };
  const Case cases[] = {
      {0x80041024u, true, {"i5", "5"}},  // provider not capable
      {0x8004100Cu, true, {"i5", "5"}},  // not supported
      {0x80070005u, false, {}},          // access denied
  };
  for (const Case& c : cases) {
    fake->FailCall("Get", WmiError(static_cast<int32_t>(c.status), "refused"));
    const PropertyListing listing = Fetch("Item", "Item.Name=\"i5\"", 5);
    EXPECT_EQ(listing.ok, c.ok) << std::hex << c.status;
    EXPECT_EQ(listing.values, c.values) << std::hex << c.status;
  }
}

// A connection that stops answering is not kept: the next click connects again. A plain answer
// about the request keeps it.
TEST_F(BackgroundRequestsTest, PropertyWorkerDropsAConnectionThatIsGone) {
  struct Case {
    uint32_t status;
    int reconnects;
  };
  const Case cases[] = {
      {0x80010108u, 1},  // RPC_E_DISCONNECTED: winmgmt restarted
      {0x800706BAu, 1},  // the computer rebooted
      {0x80041001u, 1},  // anything else from a call that worked before
      {0x80041002u, 0},  // not found
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Fetch("Item", "Item.Name=\"i1\"", 1).ok);
    fake->FailCall("Get", WmiError(static_cast<int32_t>(c.status), "failed"));
    EXPECT_FALSE(Fetch("Item", "Item.Name=\"i1\"", 1).ok);
    fake->ClearFaults();
    const int connects = fake->ConnectCount();
    EXPECT_TRUE(Fetch("Item", "Item.Name=\"i2\"", 2).ok);
    EXPECT_EQ(fake->ConnectCount(), connects + c.reconnects) << std::hex << c.status;
  }
}

TEST_F(BackgroundRequestsTest, SharedPathsFallBackToPositions) {
  fake->AddClass(kNs, "Twins", "", {"Name"});
  for (int i = 0; i < 3; ++i) fake->AddInstance(kNs, "Twins", {{"Name", Value::Text("same")}});
  EXPECT_EQ(LoadedPaths("Twins"), (Lines{"", "", ""}));
}

TEST_F(BackgroundRequestsTest, NoRequestCallsWmiFromTheUiThread) {
  fake->WatchThread(std::this_thread::get_id());
  const ConnectionParams conn{".", kNs, "", ""};
  int ends = 0;
  StartQuery(worker, conn, RegionalSettings{}, "select * from Item",
             {{}, [](ResultTable&&) {}, [&](const QueryEnd&) { ++ends; }});
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 1; }));
  StartClassList(worker, conn, true,
                 {{}, {}, [](util::StringList&&) {}, [&](bool, const std::string&) { ++ends; }});
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 2; }));
  StartClassProperties(worker, conn, "Item", [&](PropertyListing&&) { ++ends; });
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 3; }));
  StartInstanceFetch(worker, conn, RegionalSettings{}, "Item", "Item.Name=\"i3\"", 3,
                     [&](PropertyListing&&) { ++ends; });
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 4; }));
  StartInstanceFetch(worker, conn, RegionalSettings{}, "Keyless", "", 1,
                     [&](PropertyListing&&) { ++ends; });
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return ends == 5; }));
  EXPECT_EQ(fake->CallsFromWatchedThread(), 0);
}

}  // namespace
}  // namespace brevane::wmi::background_test
