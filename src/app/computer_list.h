#pragma once
// The list of computers one query goes to, as the user types it into the box "计算机" or
// gives it with -computers:. Names are separated by commas, semicolons, blanks or new lines;
// "@path" (or "@"quoted path"") reads a file of names, one a line.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::app {

inline constexpr size_t kMaxComputers = 5000;
inline constexpr size_t kMaxComputerNameBytes = 255;
// A list of 5 000 names fits in far less; anything bigger is not a list of names.
inline constexpr size_t kMaxComputerFileBytes = 4u << 20;

// What a reader gives for a list file: its bytes (at most maxBytes + 1 of them, so that a
// file too big shows as such without being read whole), or why it could not be read.
struct ComputerFileRead {
  std::optional<std::string> bytes;
  std::string error;
};
using ComputerFileReader = std::function<ComputerFileRead(std::string_view path, size_t maxBytes)>;

struct ComputerList {
  // The names as typed, in order; a later name for the same computer is dropped ("SRV",
  // "srv" and "\\srv" are one, so are "." and "localhost").
  std::vector<std::string> names;
  std::string error;  // why the list cannot be used; names is empty then
};

// An empty result (no names, no error) means the connected computer alone.
ComputerList ParseComputerList(std::string_view text, const ComputerFileReader& readFile);

// A list file's bytes as UTF-8: a UTF-8 byte order mark is dropped, UTF-16 (either order,
// with its mark, or little-endian without one) is converted.
std::string DecodeComputerFile(std::string_view bytes);

}  // namespace brevane::app
