#pragma once
// A profile file kept as INI text in memory, with writes that can be made to fail.
#include <optional>
#include <string>
#include <string_view>

#include "util/profile_store.h"

namespace brevane::testing {

class MemoryProfile final : public brevane::util::ProfileStore {
 public:
  explicit MemoryProfile(std::string text = {}) : text_(std::move(text)) {}

  brevane::util::IniSection ReadSection(std::string_view section) override;
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  const std::string& Text() const { return text_; }
  // The raw value as the file holds it, or nothing.
  std::optional<std::string> RawValue(std::string_view section, std::string_view key) const;

  // Every write after this many successful ones fails.
  std::optional<int> failAfterWrites;
  // Every read of a section fails.
  bool failReads = false;
  int writes = 0;
  int reads = 0;

 private:
  std::string text_;
};

}  // namespace brevane::testing
