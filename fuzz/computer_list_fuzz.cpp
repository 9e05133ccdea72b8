// The computer list from arbitrary text, with arbitrary bytes as the one list file "f".
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "app/computer_list.h"
#include "fuzz_check.h"
#include "wmi/request_worker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevane;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The input up to the first NUL is what was typed; the rest is the file's content.
  const size_t split = input.find('\0');
  const std::string_view typed = input.substr(0, split);
  const std::string file =
      split == std::string_view::npos ? std::string() : std::string(input.substr(split + 1));
  const app::ComputerFileReader reader = [&](std::string_view path, size_t maxBytes) {
    if (path != "f") return app::ComputerFileRead{std::nullopt, "missing"};
    return app::ComputerFileRead{file.substr(0, maxBytes + 1), {}};
  };
  const app::ComputerList list = app::ParseComputerList(typed, reader);
  FUZZ_CHECK(list.error.empty() || list.names.empty());
  FUZZ_CHECK(list.names.size() <= app::kMaxComputers);
  std::unordered_set<std::string> keys;
  for (const std::string& name : list.names) {
    FUZZ_CHECK(!name.empty() && name.size() <= app::kMaxComputerNameBytes);
    FUZZ_CHECK(name.find_first_of(",; \t\r\n#@/*?\"") == std::string::npos);
    FUZZ_CHECK(keys.insert(wmi::HostKey(name)).second);
  }
  const std::string decoded = app::DecodeComputerFile(file);
  FUZZ_CHECK(decoded.size() <= file.size() * 2);
  return 0;
}
