#include "app/command_line.h"

namespace brevane::app {

namespace {

bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Appends one byte unless the argument already holds kMaxArgumentChars characters; the bytes
// of a multi-byte character are kept together, so a cut never splits a character.
class ArgumentBuilder {
 public:
  void Append(char c) {
    if (IsContinuationByte(c)) {
      if (keepingCharacter_) text_.push_back(c);
      return;
    }
    keepingCharacter_ = chars_ < kMaxArgumentChars;
    if (!keepingCharacter_) return;
    ++chars_;
    text_.push_back(c);
  }
  std::string Take() {
    chars_ = 0;
    keepingCharacter_ = false;
    return std::move(text_);
  }

 private:
  std::string text_;
  std::size_t chars_ = 0;
  bool keepingCharacter_ = false;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  const std::size_t size = commandLine.size();
  for (;;) {
    while (pos < size && IsSeparator(commandLine[pos])) ++pos;
    if (pos >= size) break;
    ArgumentBuilder argument;
    bool quoted = false;
    while (pos < size) {
      const char c = commandLine[pos];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && IsSeparator(c)) {
        break;
      } else {
        argument.Append(c);
      }
      ++pos;
    }
    // A pair of quotes with nothing between them still makes an (empty) argument.
    arguments.push_back(argument.Take());
  }
  return arguments;
}

std::vector<std::string> CommandLineArguments(std::string_view commandLine) {
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace brevane::app
