#include "cli/json_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
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

// Neither escaped in JSON nor more than one byte in UTF-8.
bool IsPlain(char16_t unit) {
  return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
}

// Four units at a time in a 64-bit word. Each test flags a lane whose top
// bit it sets; a borrow can flag a lane wrongly only above a lane that is
// flagged rightly, so "any lane" is exact.
constexpr uint64_t kLaneOnes = 0x0001000100010001;
constexpr uint64_t kLaneTops = 0x8000800080008000;

uint64_t ZeroLanes(uint64_t word) { return (word - kLaneOnes) & ~word & kLaneTops; }

// IsPlain of the `count` units, without a branch per unit; `count` is a
// multiple of 4.
bool IsPlainRun(const char16_t* units, size_t count) {
  uint64_t notPlain = 0;
  for (size_t i = 0; i < count; i += 4) {
    uint64_t word;
    std::memcpy(&word, units + i, sizeof word);
    notPlain |= (word & 0xFF80FF80FF80FF80) |                    // past ASCII
                ((word - 0x20 * kLaneOnes) & ~word & kLaneTops) |  // a control character
                ZeroLanes(word ^ (u'"' * kLaneOnes)) | ZeroLanes(word ^ (u'\\' * kLaneOnes));
  }
  return notPlain == 0;
}

// `text` is ASCII.
void AppendAscii(std::u16string_view text, std::string* out) {
  const size_t start = out->size();
  out->resize(start + text.size());
  char* narrowed = out->data() + start;
  for (size_t i = 0; i < text.size(); ++i) narrowed[i] = static_cast<char>(text[i]);
}

void AppendEscaped(char16_t unit, std::string* out) {
  const auto* shortForm =
      std::find_if(std::begin(kShortEscapes), std::end(kShortEscapes),
                   [unit](const auto& escape) { return escape.first == unit; });
  if (shortForm != std::end(kShortEscapes)) {
    out->append(shortForm->second);
    return;
  }
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
  out->append(escaped);
}

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
  size_t at = 0;
  while (at < text.size()) {
    // Most of a result's text needs neither escape nor conversion: that
    // run is tested four units to a word, sixteen at a time while they
    // last, and only its end unit by unit.
    size_t plain = at;
    for (const size_t step : {size_t{16}, size_t{4}}) {
      while (plain + step <= text.size() && IsPlainRun(text.data() + plain, step)) plain += step;
    }
    while (plain < text.size() && IsPlain(text[plain])) ++plain;
    AppendAscii(text.substr(at, plain - at), out);
    if (plain == text.size()) break;
    if (!IsAscii(text[plain])) {
      size_t wide = plain + 1;
      while (wide < text.size() && !IsAscii(text[wide])) ++wide;
      AppendUtf8(text.substr(plain, wide - plain), out);
      at = wide;
      continue;
    }
    AppendEscaped(text[plain], out);
    at = plain + 1;
  }
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
