#include "wmi/event_query.h"

#include "util/text.h"

namespace brevane::wmi {

namespace {

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// The words of a query outside its string literals.
std::vector<std::string_view> QueryWords(std::string_view query) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < query.size()) {
    const char c = query[i];
    if (c == '\'' || c == '"') {
      const size_t close = query.find(c, i + 1);
      if (close == std::string_view::npos) break;
      i = close + 1;
    } else if (IsNameCharacter(c)) {
      const size_t begin = i;
      while (i < query.size() && IsNameCharacter(query[i])) ++i;
      words.push_back(query.substr(begin, i - begin));
    } else {
      ++i;
    }
  }
  return words;
}

}  // namespace

std::optional<std::string> SelectedClass(std::string_view query) {
  const std::vector<std::string_view> words = QueryWords(query);
  if (words.empty() || util::AsciiLower(words.front()) != "select") return std::nullopt;
  // The first FROM ends the property list, which cannot hold that word.
  for (size_t i = 1; i + 1 < words.size(); ++i) {
    if (util::AsciiLower(words[i]) == "from") return std::string(words[i + 1]);
  }
  return std::nullopt;
}

bool IsEventClass(std::string_view className, const std::vector<std::string>& derivation) {
  constexpr std::string_view kEventRoot = "__event";
  if (util::AsciiLower(className) == kEventRoot) return true;
  for (const std::string& superclass : derivation) {
    if (util::AsciiLower(superclass) == kEventRoot) return true;
  }
  return false;
}

}  // namespace brevane::wmi
