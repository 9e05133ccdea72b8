#include "app/computer_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace brevane::app {
namespace {

using Names = std::vector<std::string>;

// Files the reader knows; any other path is missing.
ComputerFileReader Files(std::map<std::string, std::string> files) {
  return [files = std::move(files)](std::string_view path, size_t maxBytes) {
    const auto it = files.find(std::string(path));
    if (it == files.end()) return ComputerFileRead{std::nullopt, "The file does not exist."};
    return ComputerFileRead{it->second.substr(0, maxBytes + 1), {}};
  };
}

std::string Utf16Le(std::string_view ascii, bool mark) {
  std::string out = mark ? "\xFF\xFE" : "";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(ComputerList, SplitsDropsRepeatsAndReadsFiles) {
  const ComputerFileReader reader = Files({
      {"list.txt", "# servers\r\nweb1\r\n\r\n  db1   # the database\r\nWEB1\r\n"},
      {"bom.txt", "\xEF\xBB\xBFm1\nm2\n"},
      {"wide.txt", Utf16Le("w1\r\nw2\r\n", true)},
      {"bare16.txt", Utf16Le("u1\nu2", false)},
      {"big16.txt", std::string("\xFE\xFF\0b\0\n\0c", 8)},
      {"my list.txt", "q1"},
  });
  const struct {
    const char* text;
    Names names;
  } cases[] = {
      {"", {}},
      {" ,; \r\n", {}},
      {"a,b;c d\te\nf", {"a", "b", "c", "d", "e", "f"}},
      {"srv SRV \\\\srv Srv2", {"srv", "Srv2"}},
      {". localhost", {"."}},
      {"10.0.0.1 fe80::1%3 [::1] \\\\host.example.com",
       {"10.0.0.1", "fe80::1%3", "[::1]", "\\\\host.example.com"}},
      {"zz @list.txt db1", {"zz", "web1", "db1"}},
      {"@bom.txt", {"m1", "m2"}},
      {"@wide.txt", {"w1", "w2"}},
      {"@bare16.txt", {"u1", "u2"}},
      {"@big16.txt", {"b", "c"}},
      {"@\"my list.txt\",x", {"q1", "x"}},
      {"服务器一 服务器二", {"服务器一", "服务器二"}},
  };
  for (const auto& c : cases) {
    const ComputerList list = ParseComputerList(c.text, reader);
    EXPECT_EQ(list.error, "") << c.text;
    EXPECT_EQ(list.names, c.names) << c.text;
  }
}

TEST(ComputerList, BadInputGetsAClearMessage) {
  const ComputerFileReader reader = Files({
      {"empty.txt", "# nothing here\n\n"},
      {"bad.txt", "ok1\nok2\nbad*name\n"},
      {"huge.txt", std::string(kMaxComputerFileBytes + 1, 'a')},
  });
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"a b/c", "Not a computer name: \"b/c\""},
      {"a\\b", "Not a computer name: \"a\\b\""},
      {"\\\\", "Not a computer name: \"\\\\\""},
      {"\xC3(", "Not a computer name: \"\xC3(\""},
      {std::string(256, 'n'),
       "Computer name too long (at most 255 bytes): \"" + std::string(64, 'n') + "...\""},
      {"@missing.txt",
       "Cannot read the list of computers \"missing.txt\": The file does not exist."},
      {"@", "No file name after \"@\"."},
      {"@\"open", "The file name after \"@\" lacks its closing quote."},
      {"@empty.txt", "No computer names in \"empty.txt\"."},
      {"@bad.txt", "\"bad.txt\", line 3: Not a computer name: \"bad*name\""},
      {"@huge.txt", "The list of computers \"huge.txt\" is too big (at most 4 MiB)."},
  };
  for (const auto& c : cases) {
    const ComputerList list = ParseComputerList(c.text, reader);
    EXPECT_EQ(list.error, c.error) << c.text;
    EXPECT_TRUE(list.names.empty()) << c.text;
  }
  EXPECT_EQ(ParseComputerList("@x", nullptr).error, "Cannot read \"x\".");
}

TEST(ComputerList, HoldsAtMostFiveThousandNames) {
  std::string text;
  for (size_t i = 0; i < kMaxComputers; ++i) text += "pc" + std::to_string(i) + "\n";
  const std::string repeated = text + "PC0 pc1\n";
  EXPECT_EQ(ParseComputerList(repeated, nullptr).names.size(), kMaxComputers);
  const ComputerList files = ParseComputerList("@a @b", Files({{"a", text}, {"b", "one-more"}}));
  EXPECT_EQ(files.error, "More than 5000 computers: a list holds at most 5000 names.");
  EXPECT_TRUE(files.names.empty());
  EXPECT_EQ(ParseComputerList(text + "x", nullptr).error, files.error);
}

TEST(ComputerList, DecodesUnpairedSurrogatesAsReplacement) {
  EXPECT_EQ(DecodeComputerFile(std::string("\xFF\xFE\x00\xD8\x41\x00", 6)),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(DecodeComputerFile(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace brevane::app
