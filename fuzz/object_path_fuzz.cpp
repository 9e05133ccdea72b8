// Object paths from arbitrary text: every text either parses or says why, and what parses
// reads back the same from its own relative path.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "wmi/object_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevane::wmi;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ObjectPathParse parse = ParseObjectPath(text);
  FUZZ_CHECK(parse.path.has_value() == parse.error.empty());
  if (!parse.path) return 0;
  const std::string relative = parse.path->RelativePath();
  const ObjectPathParse again = ParseObjectPath(relative);
  FUZZ_CHECK(again.path.has_value());
  FUZZ_CHECK(SameObject(*parse.path, *again.path));
  FUZZ_CHECK(again.path->RelativePath() == relative);
  return 0;
}
