#pragma once
// Splitting of the raw command line into arguments, by the rules the program has always used:
// blanks and control characters separate arguments, a double quote starts or ends a quoted
// stretch whose blanks belong to the argument, and the quotes themselves are dropped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::app {

// An argument longer than this many characters is cut to it. Switch values are short; the
// bound only keeps a hostile command line from growing one argument without end.
inline constexpr std::size_t kMaxArgumentChars = 4096;

// Every argument of a UTF-8 command line, the program path included.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The arguments after the program path (which is split off by the same rules).
std::vector<std::string> CommandLineArguments(std::string_view commandLine);

}  // namespace brevane::app
