#include "cli/json_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"

namespace qm::cli {
namespace {

bool IsAscii(char16_t unit) { return unit < 0x80; }

// The escapes with a short form; every other control character is written
// as \u00xx.
constexpr std::pair<char16_t, const char*> kShortEscapes[] = {
    {u'"', "\\\""}, {u'\\', "\\\\"}, {u'\b', "\\b"}, {u'\f', "\\f"},
    {u'\n', "\\n"}, {u'\r', "\\r"},  {u'\t', "\\t"}};

}  // namespace

// Results are mostly ASCII: that prefix is narrowed unit by unit (a block
// at a time, which the compiler turns into vector code), and only the rest
// goes to the converter, in pieces it can count.
void AppendUtf8(std::u16string_view text, std::string* out) {
  constexpr size_t kBlock = 16;
  const size_t start = out->size();
  out->resize(start + text.size());
  char* narrowed = out->data() + start;
  size_t ascii = 0;
  for (; ascii + kBlock <= text.size(); ascii += kBlock) {
    char16_t all = 0;
    for (size_t i = 0; i < kBlock; ++i) all |= text[ascii + i];
    if (all >= 0x80) break;
    for (size_t i = 0; i < kBlock; ++i) narrowed[ascii + i] = static_cast<char>(text[ascii + i]);
  }
  for (; ascii < text.size() && IsAscii(text[ascii]); ++ascii) {
    narrowed[ascii] = static_cast<char>(text[ascii]);
  }
  out->resize(start + ascii);
  std::u16string_view rest = text.substr(ascii);
  while (!rest.empty()) {
    size_t piece = std::min(rest.size(), platform::kMaxUtfPiece);
    // A piece never ends between the two halves of a pair.
    if (piece < rest.size() && platform::IsLeadSurrogate(rest[piece - 1])) --piece;
    platform::AppendUtf16AsUtf8(rest.substr(0, piece), out);
    rest.remove_prefix(piece);
  }
}

void AppendJsonString(std::u16string_view text, std::string* out) {
  out->push_back('"');
  size_t plain = 0;  // start of the units not yet written
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0x20 && unit != u'"' && unit != u'\\') continue;
    AppendUtf8(text.substr(plain, i - plain), out);
    plain = i + 1;
    const auto* shortForm =
        std::find_if(std::begin(kShortEscapes), std::end(kShortEscapes),
                     [unit](const auto& escape) { return escape.first == unit; });
    if (shortForm != std::end(kShortEscapes)) {
      out->append(shortForm->second);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
      out->append(escaped);
    }
  }
  AppendUtf8(text.substr(plain), out);
  out->push_back('"');
}

void AppendNumber(int64_t value, std::string* out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out->append(digits, end);
}

void JsonFields::Name(std::string_view name) {
  if (!first_) out_->append(indent_ == 0 ? "," : ",\n");
  first_ = false;
  out_->append(static_cast<size_t>(indent_), ' ');
  out_->push_back('"');
  out_->append(name);
  out_->append(indent_ == 0 ? "\":" : "\": ");
}

void AppendArrayElementOpen(uint64_t index, std::string* out) {
  out->append(index == 0 ? "[\n  {\n" : ",\n  {\n");
}

void AppendArrayElementClose(std::string* out) { out->append("\n  }"); }

void AppendArrayClose(uint64_t count, std::string* out) {
  out->append(count == 0 ? "[]\n" : "\n]\n");
}

}  // namespace qm::cli
