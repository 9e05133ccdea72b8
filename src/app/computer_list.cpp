#include "app/computer_list.h"

#include <cstdint>
#include <unordered_set>

#include "util/text.h"
#include "wmi/request_worker.h"

namespace brevane::app {

namespace {

bool IsNameSeparator(char c) {
  return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Quotes a name for a message, cut short so that a hostile name cannot flood the box.
std::string QuotedName(std::string_view name) {
  constexpr size_t kShown = 64;
  size_t cut = name.size();
  if (cut > kShown) {
    cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  }
  std::string quoted;
  quoted.reserve(cut + 5);
  quoted.push_back('"');
  quoted.append(name.data(), cut);
  if (cut < name.size()) quoted.append("...");
  quoted.push_back('"');
  return quoted;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 1;
    uint32_t code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else if (lead >= 0xE0) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xC2) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0x80) {
      return false;
    }
    if (length > 1) {
      if (i + length > text.size()) return false;
      for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3Fu);
      }
      const uint32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
      if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    }
    i += length;
  }
  return true;
}

// A computer name, an IPv4 or IPv6 address (brackets and a zone allowed), "." or
// "localhost", with or without a leading "\\". Other characters would change what WMI is
// asked for (a path, a namespace) or cannot name a computer at all.
std::string NameProblem(std::string_view name) {
  if (name.size() > kMaxComputerNameBytes)
    return "Computer name too long (at most 255 bytes): " + QuotedName(name);
  std::string_view bare = name;
  if (bare.substr(0, 2) == "\\\\") bare.remove_prefix(2);
  bool valid = !bare.empty() && IsWellFormedUtf8(bare);
  for (char c : bare) {
    const auto u = static_cast<unsigned char>(c);
    const bool allowed = u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' ||
                         c == '[' || c == ']' || c == '%';
    if (!allowed) valid = false;
  }
  return valid ? std::string() : "Not a computer name: " + QuotedName(name);
}

void AppendCodePoint(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) -> uint32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (a << 8u) | b : (b << 8u) | a;
  };
  for (size_t i = 0; i < units; ++i) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendCodePoint(out, code);
  }
  return out;
}

// Collects names, dropping repeats, until the bound is passed.
class NameCollector {
 public:
  // False once the list has more names than it may hold.
  bool Add(std::string_view name) {
    if (!seen_.insert(wmi::HostKey(std::string(name))).second) return true;
    if (names_.size() == kMaxComputers) {
      tooMany_ = true;
      return false;
    }
    names_.emplace_back(name);
    return true;
  }
  bool TooMany() const { return tooMany_; }
  std::vector<std::string> Take() { return std::move(names_); }

 private:
  std::vector<std::string> names_;
  std::unordered_set<std::string> seen_;
  bool tooMany_ = false;
};

// The names of a list file: "#" starts a comment to the end of the line; the names of a
// line may be separated as in the box. Returns an error text or "".
std::string ReadFileNames(std::string_view path, const ComputerFileReader& readFile,
                          NameCollector& names) {
  if (path.empty()) return "No file name after \"@\".";
  if (!readFile) return "Cannot read " + QuotedName(path) + ".";
  ComputerFileRead read = readFile(path, kMaxComputerFileBytes);
  if (!read.bytes) {
    return "Cannot read the list of computers " + QuotedName(path) +
           (read.error.empty() ? std::string(".") : ": " + read.error);
  }
  if (read.bytes->size() > kMaxComputerFileBytes)
    return "The list of computers " + QuotedName(path) + " is too big (at most 4 MiB).";
  const std::string text = DecodeComputerFile(*read.bytes);
  bool any = false;
  size_t line = 1;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\n') ++line;
    if (IsNameSeparator(text[i])) {
      ++i;
      continue;
    }
    if (text[i] == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && !IsNameSeparator(text[end]) && text[end] != '#') ++end;
    const std::string_view name = std::string_view(text).substr(i, end - i);
    if (const std::string problem = NameProblem(name); !problem.empty())
      return util::Format("%s, line %llu: ", QuotedName(path).c_str(),
                          static_cast<unsigned long long>(line)) +
             problem;
    any = true;
    if (!names.Add(name)) return {};
    i = end;
  }
  if (!any) return "No computer names in " + QuotedName(path) + ".";
  return {};
}

}  // namespace

std::string DecodeComputerFile(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Utf16BytesToUtf8(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return Utf16BytesToUtf8(bytes.substr(2), true);
  // Without a mark, a first character of the ASCII range followed by a zero byte is
  // UTF-16 as Windows writes it.
  if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0')
    return Utf16BytesToUtf8(bytes, false);
  return std::string(bytes);
}

ComputerList ParseComputerList(std::string_view text, const ComputerFileReader& readFile) {
  ComputerList list;
  NameCollector names;
  size_t i = 0;
  while (i < text.size() && !names.TooMany()) {
    if (IsNameSeparator(text[i])) {
      ++i;
      continue;
    }
    if (text[i] == '@') {
      std::string_view path;
      if (i + 1 < text.size() && text[i + 1] == '"') {
        const size_t close = text.find('"', i + 2);
        if (close == std::string_view::npos) {
          list.error = "The file name after \"@\" lacks its closing quote.";
          return list;
        }
        path = text.substr(i + 2, close - i - 2);
        i = close + 1;
      } else {
        size_t end = i + 1;
        while (end < text.size() && !IsNameSeparator(text[end])) ++end;
        path = text.substr(i + 1, end - i - 1);
        i = end;
      }
      list.error = ReadFileNames(path, readFile, names);
      if (!list.error.empty()) return list;
      continue;
    }
    size_t end = i;
    while (end < text.size() && !IsNameSeparator(text[end])) ++end;
    const std::string_view name = text.substr(i, end - i);
    list.error = NameProblem(name);
    if (!list.error.empty()) return list;
    names.Add(name);
    i = end;
  }
  if (names.TooMany()) {
    list.error = util::Format("More than %llu computers: a list holds at most %llu names.",
                              static_cast<unsigned long long>(kMaxComputers),
                              static_cast<unsigned long long>(kMaxComputers));
    return list;
  }
  list.names = names.Take();
  return list;
}

}  // namespace brevane::app
