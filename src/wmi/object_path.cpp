#include "wmi/object_path.h"

#include <algorithm>

#include "util/text.h"

namespace brevane::wmi {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '_';
}

bool ValidName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), IsNameChar);
}

// Reads the key list after the class name; `rest` starts after the '.' (or at '=' for the
// short form). Returns an error text, empty when it parsed.
class KeyReader {
 public:
  explicit KeyReader(std::string_view text) : text_(text) {}

  std::string ReadValue(ObjectPathKey& key) {
    SkipSpaces();
    if (pos_ >= text_.size()) return "a key has no value";
    if (text_[pos_] != '"') {
      const size_t end = text_.find(',', pos_);
      key.value = util::Trim(text_.substr(pos_, end == std::string_view::npos ? end : end - pos_));
      pos_ = end == std::string_view::npos ? text_.size() : end;
      if (key.value.empty()) return "a key has no value";
      if (key.value.find_first_of("\"\\") != std::string::npos)
        return "an unquoted key value holds a quote or a backslash";
      return {};
    }
    key.quoted = true;
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') {
        SkipSpaces();
        return {};
      }
      if (c == '\\') {
        if (pos_ >= text_.size()) break;
        const char next = text_[pos_];
        // Only \" and \\ are escapes; any other backslash stands for itself.
        if (next == '"' || next == '\\') {
          key.value += next;
          ++pos_;
          continue;
        }
      }
      key.value += c;
    }
    return "a quoted key value has no closing quote";
  }

  std::string ReadKeys(std::vector<ObjectPathKey>& keys) {
    while (true) {
      ObjectPathKey key;
      const size_t equals = text_.find('=', pos_);
      if (equals == std::string_view::npos) return "a key has no value";
      key.name = util::Trim(text_.substr(pos_, equals - pos_));
      if (!ValidName(key.name)) return "a key name is missing or has odd characters";
      pos_ = equals + 1;
      if (std::string error = ReadValue(key); !error.empty()) return error;
      keys.push_back(std::move(key));
      if (pos_ >= text_.size()) return {};
      if (text_[pos_] != ',') return "text follows a key value";
      ++pos_;
    }
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  void SkipSpaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

ObjectPathParse Fail(std::string reason) {
  return {std::nullopt, "The object path cannot be read: " + std::move(reason) + "."};
}

bool SameText(std::string_view a, std::string_view b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

}  // namespace

std::string QuotePathValue(std::string_view value) {
  std::string out = "\"";
  for (const char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string ObjectPath::RelativePath() const {
  std::string out = className;
  if (singleton) return out + "=@";
  for (size_t i = 0; i < keys.size(); ++i) {
    const ObjectPathKey& key = keys[i];
    out += i == 0 ? (key.name.empty() ? "" : ".") : ",";
    out += key.name + "=" + (key.quoted ? QuotePathValue(key.value) : key.value);
  }
  return out;
}

ObjectPathParse ParseObjectPath(std::string_view text) {
  if (text.size() > kMaxObjectPathLength) return Fail("it is too long");
  const std::string trimmed = util::Trim(text);
  std::string_view rest = trimmed;
  if (rest.empty()) return Fail("it is empty");
  ObjectPath path;
  if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    rest.remove_prefix(2);
    const size_t end = rest.find_first_of("\\/");
    if (end == std::string_view::npos) return Fail("the computer has no namespace after it");
    path.server = rest.substr(0, end);
    if (path.server.empty()) return Fail("the computer name is missing");
    rest.remove_prefix(end + 1);
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return Fail("the namespace has no class after it");
    path.nameSpace = rest.substr(0, colon);
    rest.remove_prefix(colon + 1);
  } else {
    // A namespace without a computer: a colon before anything that can start the keys.
    const size_t colon = rest.find(':');
    if (colon != std::string_view::npos && colon < rest.find_first_of(".=\"")) {
      path.nameSpace = rest.substr(0, colon);
      rest.remove_prefix(colon + 1);
    }
  }
  std::replace(path.nameSpace.begin(), path.nameSpace.end(), '/', '\\');
  if (!path.server.empty() && path.nameSpace.empty()) return Fail("the namespace is missing");
  if (!path.nameSpace.empty()) {
    size_t start = 0;
    while (start <= path.nameSpace.size()) {
      const size_t end = std::min(path.nameSpace.find('\\', start), path.nameSpace.size());
      if (!ValidName(std::string_view(path.nameSpace).substr(start, end - start)))
        return Fail("the namespace \"" + path.nameSpace + "\" has an empty or odd part");
      start = end + 1;
    }
  }
  const size_t classEnd = rest.find_first_of(".=");
  path.className = util::Trim(rest.substr(0, classEnd));
  if (!ValidName(path.className)) return Fail("the class name is missing or has odd characters");
  if (classEnd == std::string_view::npos) return {std::move(path), {}};
  const std::string_view keys = rest.substr(classEnd + 1);
  if (rest[classEnd] == '=') {
    if (util::Trim(keys) == "@") {
      path.singleton = true;
      return {std::move(path), {}};
    }
    KeyReader reader(keys);
    ObjectPathKey key;
    if (std::string error = reader.ReadValue(key); !error.empty()) return Fail(error);
    if (!reader.AtEnd()) return Fail("text follows the key value");
    path.keys.push_back(std::move(key));
    return {std::move(path), {}};
  }
  KeyReader reader(keys);
  if (std::string error = reader.ReadKeys(path.keys); !error.empty()) return Fail(error);
  return {std::move(path), {}};
}

bool IsLocalServer(std::string_view server) {
  return server.empty() || server == "." || SameText(server, "localhost");
}

bool SameObject(const ObjectPath& a, const ObjectPath& b) {
  if (!SameText(a.className, b.className) || a.singleton != b.singleton ||
      a.keys.size() != b.keys.size())
    return false;
  if (!a.nameSpace.empty() && !b.nameSpace.empty() && !SameText(a.nameSpace, b.nameSpace))
    return false;
  for (const ObjectPathKey& key : a.keys) {
    const auto match = std::find_if(b.keys.begin(), b.keys.end(), [&](const ObjectPathKey& k) {
      return SameText(k.name, key.name) && k.value == key.value;
    });
    if (match == b.keys.end()) return false;
  }
  return true;
}

}  // namespace brevane::wmi
