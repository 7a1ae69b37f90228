// JSON written piece by piece, with the exact layout and escapes of the
// JSON library's dump (so that a streamed document reads byte for byte as
// one built whole and dumped): strings escape the quote, the backslash and
// the control characters, and keep every other character as UTF-8.
#ifndef QMPECORE_CLI_JSON_TEXT_H_
#define QMPECORE_CLI_JSON_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::cli {

// Appends `text` as UTF-8; an unpaired surrogate becomes U+FFFD.
void AppendUtf8(std::u16string_view text, std::string* out);

// Appends `text` as a quoted JSON string.
void AppendJsonString(std::u16string_view text, std::string* out);

void AppendNumber(int64_t value, std::string* out);

// The framing of an array of objects as the JSON library dumps it with an
// indent of 2: what opens element `index` (the array's bracket before the
// first), what closes an element, and what closes an array of `count`.
void AppendArrayElementOpen(uint64_t index, std::string* out);
void AppendArrayElementClose(std::string* out);
void AppendArrayClose(uint64_t count, std::string* out);

// The fields of one object, written in turn between its braces (which the
// caller writes): each on a line of its own at `indent` spaces, or with no
// space at all when `indent` is 0.
class JsonFields {
 public:
  JsonFields(std::string* out, int indent) : out_(out), indent_(indent) {}
  void Number(std::string_view name, int64_t value) {
    Name(name);
    AppendNumber(value, out_);
  }
  void String(std::string_view name, std::u16string_view value) {
    Name(name);
    AppendJsonString(value, out_);
  }

 private:
  void Name(std::string_view name);

  std::string* out_;
  int indent_;
  bool first_ = true;
};

}  // namespace qm::cli

#endif  // QMPECORE_CLI_JSON_TEXT_H_
