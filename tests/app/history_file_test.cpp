#include "app/history_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/fake_list_controls.h"
#include "support/memory_profile.h"
#include "util/text.h"

namespace brevane::app {
namespace {

using testing::MemoryProfile;

const std::string kLocalHost = "\xE6\x9C\xAC\xE6\x9C\xBA";  // the connect dialog's preset host

using testing::FakeComboBox;

struct Combos {
  FakeComboBox query;
  FakeComboBox search;
  FakeComboBox hosts{{kLocalHost}};
  FakeComboBox namespaces;
  FakeComboBox classFilter;
  HistoryCombos Refs() { return {&query, &search, &hosts, &namespaces, &classFilter}; }
};

std::vector<std::string> Numbered(const std::string& stem, int count) {
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) items.push_back(stem + std::to_string(i));
  return items;
}

TEST(HistoryFileTest, FirstRunLoadsNothingAndSavesAllSections) {
  MemoryProfile profile;
  Combos combos;
  combos.query.editText = "select Caption from Win32_Process";
  LoadHistory(profile, combos.Refs());
  EXPECT_TRUE(combos.query.items.empty());
  EXPECT_EQ(combos.query.editText, "select Caption from Win32_Process");
  EXPECT_EQ(combos.hosts.items, std::vector<std::string>{kLocalHost});

  combos.hosts.items.insert(combos.hosts.items.begin(), "server1");
  SaveHistory(profile, combos.Refs());
  EXPECT_EQ(profile.RawValue("QueryHistory", "Count"), "0");
  EXPECT_EQ(profile.RawValue("SearchHistory", "Count"), "0");
  EXPECT_EQ(profile.RawValue("HostHistory", "Count"), "2");
  EXPECT_EQ(profile.RawValue("HostHistory", "Text0"), "server1");
  EXPECT_EQ(profile.RawValue("HostHistory", "Text1"), kLocalHost);
  EXPECT_EQ(profile.RawValue("NSpaceHistory", "Count"), "0");
  EXPECT_EQ(profile.RawValue("FilterHistory", "Count"), std::nullopt);
}

TEST(HistoryFileTest, SavesTheFifteenMostRecentAndRoundTrips) {
  MemoryProfile profile;
  Combos saved;
  saved.query.items = Numbered("select q", 20);
  saved.search.items = {"\"Running\"", "'x'", "\xD0\x9F\xD1\x80\xD0\xB8"};
  saved.namespaces.items = {"root\\cimv2", "root\\wmi"};
  saved.classFilter.items = {"process", "Win32_"};
  SaveHistory(profile, saved.Refs());
  EXPECT_EQ(profile.RawValue("FilterHistory", "Text1"), "Win32_");
  EXPECT_EQ(profile.RawValue("QueryHistory", "Count"), "15");
  EXPECT_EQ(profile.RawValue("QueryHistory", "Query14"), "select q14");
  EXPECT_EQ(profile.RawValue("QueryHistory", "Query15"), std::nullopt);

  Combos loaded;
  loaded.search.items = {"kept"};
  loaded.classFilter.items = {"replaced"};
  LoadHistory(profile, loaded.Refs());
  EXPECT_EQ(loaded.classFilter.items, saved.classFilter.items);
  EXPECT_EQ(loaded.query.items, Numbered("select q", 15));
  // The search and namespace lists are appended to, not replaced.
  std::vector<std::string> search = {"kept"};
  search.insert(search.end(), saved.search.items.begin(), saved.search.items.end());
  EXPECT_EQ(loaded.search.items, search);
  EXPECT_EQ(loaded.namespaces.items, saved.namespaces.items);
  EXPECT_EQ(loaded.hosts.items, std::vector<std::string>{kLocalHost});
}

TEST(HistoryFileTest, KeysBeyondCountStayInTheFileAndAreIgnored) {
  MemoryProfile profile;
  Combos first;
  first.query.items = Numbered("q", 5);
  SaveHistory(profile, first.Refs());
  Combos second;
  second.query.items = {"only"};
  SaveHistory(profile, second.Refs());
  EXPECT_EQ(profile.RawValue("QueryHistory", "Query4"), "q4");
  Combos loaded;
  LoadHistory(profile, loaded.Refs());
  EXPECT_EQ(loaded.query.items, std::vector<std::string>{"only"});
}

TEST(HistoryFileTest, HandEditedFiles) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> query;
    std::vector<std::string> hosts;
  } cases[] = {
      {"missing Query1", "[QueryHistory]\nCount=3\nQuery0=a\nQuery2=c\n", {"a", "c"}, {kLocalHost}},
      {"empty Query1",
       "[QueryHistory]\nCount=3\nQuery0=a\nQuery1=\nQuery2=c\n",
       {"a", "c"},
       {kLocalHost}},
      {"key order in the file does not matter",
       "[QueryHistory]\nquery2=c\nQUERY0=a\nCount=3\nQuery1=b\n",
       {"a", "b", "c"},
       {kLocalHost}},
      {"keys the reader would not ask for",
       "[QueryHistory]\nCount=3\nQuery00=x\nQuery+1=x\nQuery 1=x\nQuery-1=x\nQuery3=x\nQuery1=b\n",
       {"b"},
       {kLocalHost}},
      {"host Count 0 keeps the preset", "[HostHistory]\nCount=0\nText0=h\n", {}, {kLocalHost}},
      {"host Count replaces the preset", "[HostHistory]\nCount=1\nText0=h\n", {}, {"h"}},
      {"negative Count", "[QueryHistory]\nCount=-1\nQuery0=a\n", {}, {kLocalHost}},
      {"non-numeric Count", "[QueryHistory]\nCount=three\nQuery0=a\n", {}, {kLocalHost}},
      {"hex and quoted Count",
       "[QueryHistory]\nCount=\"$2\"\nQuery0=a\nQuery1='b'\nQuery2=c\n",
       {"a", "b"},
       {kLocalHost}},
      {"Count above 15",
       "[QueryHistory]\nCount=17\nQuery16=last\nQuery0=first\n",
       {"first", "last"},
       {kLocalHost}},
  };
  for (const Case& c : cases) {
    MemoryProfile profile(c.text);
    Combos combos;
    combos.query.items = {"cleared first"};
    LoadHistory(profile, combos.Refs());
    EXPECT_EQ(combos.query.items, c.query) << c.name;
    EXPECT_EQ(combos.hosts.items, c.hosts) << c.name;
  }
}

TEST(HistoryFileTest, HugeCountLoadsAtOnce) {
  MemoryProfile profile(
      "[QueryHistory]\nCount=2147483647\nQuery0=a\nQuery2147483646=z\nQuery2147483647=beyond\n"
      "Query1=b\n[SearchHistory]\nCount=2147483647\nText5=s\n");
  Combos combos;
  const auto start = std::chrono::steady_clock::now();
  LoadHistory(profile, combos.Refs());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(combos.query.items, (std::vector<std::string>{"a", "b", "z"}));
  EXPECT_EQ(combos.search.items, std::vector<std::string>{"s"});
  EXPECT_EQ(profile.reads, 5);  // each section read once
}

TEST(HistoryFileTest, LongValuesComeBackCut) {
  MemoryProfile profile;
  Combos saved;
  saved.query.items = {std::string(3000, 'q')};
  std::string cyrillic;
  for (int i = 0; i < 2100; ++i) cyrillic += "\xD0\x96";
  saved.search.items = {cyrillic};
  SaveHistory(profile, saved.Refs());
  Combos loaded;
  LoadHistory(profile, loaded.Refs());
  EXPECT_EQ(loaded.query.items, std::vector<std::string>{std::string(2047, 'q')});
  EXPECT_EQ(loaded.search.items, std::vector<std::string>{cyrillic.substr(0, 2047 * 2)});
}

TEST(HistoryFileTest, LineBreaksCannotInjectKeys) {
  MemoryProfile profile;
  Combos saved;
  saved.query.items = {"select a\r\nCount=15\nQuery1=injected"};
  SaveHistory(profile, saved.Refs());
  Combos loaded;
  LoadHistory(profile, loaded.Refs());
  EXPECT_EQ(loaded.query.items, std::vector<std::string>{"select a  Count=15 Query1=injected"});
}

TEST(HistoryFileTest, MissingComboLeavesItsSectionAlone) {
  MemoryProfile profile("[SearchHistory]\nCount=1\nText0=stored\n");
  Combos combos;
  combos.query.items = {"q"};
  HistoryCombos refs = combos.Refs();
  refs.search = nullptr;
  SaveHistory(profile, refs);
  LoadHistory(profile, refs);
  EXPECT_EQ(profile.RawValue("SearchHistory", "Text0"), "stored");
  EXPECT_EQ(profile.RawValue("SearchHistory", "Count"), "1");
  EXPECT_EQ(combos.query.items, std::vector<std::string>{"q"});
}

TEST(HistoryFileTest, FailedWriteEndsTheSaveSilently) {
  for (int failAt : {0, 1, 5, 17}) {
    MemoryProfile profile;
    profile.failAfterWrites = failAt;
    Combos combos;
    combos.query.items = Numbered("q", 20);
    combos.search.items = {"s"};
    EXPECT_FALSE(SaveHistory(profile, combos.Refs()));
    EXPECT_EQ(profile.writes, failAt);
    // What was written before the failure stays.
    if (failAt >= 1) {
      EXPECT_EQ(profile.RawValue("QueryHistory", "Count"), "15");
    }
    const std::optional<std::string> searchCount =
        failAt == 17 ? std::optional<std::string>("1") : std::nullopt;
    EXPECT_EQ(profile.RawValue("SearchHistory", "Count"), searchCount);
  }
}

TEST(HistoryFileTest, FailedReadKeepsWhatWasLoaded) {
  MemoryProfile profile("[QueryHistory]\nCount=1\nQuery0=a\n");
  profile.failReads = true;
  Combos combos;
  combos.query.items = {"old"};
  LoadHistory(profile, combos.Refs());
  EXPECT_TRUE(combos.query.items.empty());  // cleared before the read, as the file is opened
  EXPECT_EQ(combos.hosts.items, std::vector<std::string>{kLocalHost});
}

// The program's folder and the user's, in memory.
struct MemoryHomes final : HistoryHomes {
  util::ProfileStore& ProgramFolderFile() override { return program; }
  util::ProfileStore& UserFile() override { return user; }
  MemoryProfile program;
  MemoryProfile user;
};

TEST(HistoryFileTest, HistoriesGoToTheUsersFolderWhenTheProgramsCannotBeWritten) {
  Combos saved;
  saved.query.items = {"select Name from Win32_Service"};

  MemoryHomes portable;  // a writable program folder: as it always was
  portable.user = MemoryProfile("[TMainWin]\nFormVersion=0\n");  // the window's position
  EXPECT_TRUE(SaveHistory(portable, saved.Refs()));
  EXPECT_EQ(portable.program.RawValue("QueryHistory", "Query0"), "select Name from Win32_Service");
  EXPECT_EQ(portable.user.writes, 0);
  Combos fromPortable;
  LoadHistory(portable, fromPortable.Refs());
  EXPECT_EQ(fromPortable.query.items, saved.query.items);

  MemoryHomes installed;  // the program's folder refuses every write
  installed.program.failAfterWrites = 0;
  EXPECT_TRUE(SaveHistory(installed, saved.Refs()));
  EXPECT_EQ(installed.user.RawValue("QueryHistory", "Query0"), "select Name from Win32_Service");
  // The next run reads the user's file, and keeps saving there.
  installed.program.failAfterWrites.reset();
  Combos loaded;
  LoadHistory(installed, loaded.Refs());
  EXPECT_EQ(loaded.query.items, saved.query.items);
  loaded.query.items.insert(loaded.query.items.begin(), "select * from Win32_BIOS");
  EXPECT_TRUE(SaveHistory(installed, loaded.Refs()));
  EXPECT_EQ(installed.user.RawValue("QueryHistory", "Count"), "2");
  EXPECT_EQ(installed.program.writes, 0);

  MemoryHomes nowhere;
  nowhere.program.failAfterWrites = 0;
  nowhere.user.failAfterWrites = 0;
  EXPECT_FALSE(SaveHistory(nowhere, saved.Refs()));
}

}  // namespace
}  // namespace brevane::app
