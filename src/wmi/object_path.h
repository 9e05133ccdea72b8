#pragma once
// WMI object paths as references and association queries carry them:
// [\\server\namespace:]Class[.Key="value",Key2=5 | ="value" | =@]. String key values are quoted,
// with \" and \\ escaped inside; another path can sit in a key value, escaped that way.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

struct ObjectPathKey {
  std::string name;   // empty for the short form Class="value" of a class with one key
  std::string value;  // unescaped
  bool quoted = false;
};

struct ObjectPath {
  std::string server;     // empty when the path names none
  std::string nameSpace;  // empty when the path names none
  std::string className;
  std::vector<ObjectPathKey> keys;  // empty for a class, or for a singleton
  bool singleton = false;           // Class=@

  bool IsClass() const { return keys.empty() && !singleton; }
  // Class.Key="value",... with the escapes put back: what Get and the queries take.
  std::string RelativePath() const;
};

struct ObjectPathParse {
  std::optional<ObjectPath> path;
  std::string error;  // why the text is no object path, when path is empty
};

// Longer texts are refused: no reference WMI hands out comes near it.
constexpr size_t kMaxObjectPathLength = 32 * 1024;

ObjectPathParse ParseObjectPath(std::string_view text);

// The server names this computer: none, ".", "localhost" (case ignored).
bool IsLocalServer(std::string_view server);

// Two paths name the same object: class, key names and namespace without regard to case, key
// values as written (order of the keys ignored); the server is not compared.
bool SameObject(const ObjectPath& a, const ObjectPath& b);

// A value as it goes into a path: quoted with \" and \\ escaped.
std::string QuotePathValue(std::string_view value);

}  // namespace brevane::wmi
