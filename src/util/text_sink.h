#pragma once
// Where a long text goes piece by piece: a file, or a string for the clipboard.
#include <string>
#include <string_view>

namespace brevane::util {

class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void Append(std::string_view text) = 0;
};

class StringSink final : public TextSink {
 public:
  void Append(std::string_view text) override { text_.append(text); }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};

}  // namespace brevane::util
