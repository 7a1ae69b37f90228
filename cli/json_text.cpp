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

uint64_t NotAsciiLanes(uint64_t word) { return word & 0xFF80FF80FF80FF80; }

// Past ASCII, a control character, a quote or a backslash.
uint64_t NotPlainLanes(uint64_t word) {
  return NotAsciiLanes(word) | ((word - 0x20 * kLaneOnes) & ~word & kLaneTops) |
         ZeroLanes(word ^ (u'"' * kLaneOnes)) | ZeroLanes(word ^ (u'\\' * kLaneOnes));
}

// Where the run of units from `at` that `Accepts` ends. The run is tested
// four units to a word (`RefusedLanes` flags the others), sixteen at a
// time while they last, and only its end unit by unit.
template <uint64_t (*RefusedLanes)(uint64_t), bool (*Accepts)(char16_t)>
size_t RunEnd(std::u16string_view text, size_t at) {
  for (const size_t step : {size_t{16}, size_t{4}}) {
    while (at + step <= text.size()) {
      uint64_t refused = 0;
      for (size_t i = 0; i < step; i += 4) {
        uint64_t word;
        std::memcpy(&word, text.data() + at + i, sizeof word);
        refused |= RefusedLanes(word);
      }
      if (refused != 0) break;
      at += step;
    }
  }
  while (at < text.size() && Accepts(text[at])) ++at;
  return at;
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

// Results are mostly ASCII: that prefix is narrowed unit by unit, and
// only the rest goes to the converter, in pieces it can count.
void AppendUtf8(std::u16string_view text, std::string* out) {
  const size_t ascii = RunEnd<NotAsciiLanes, IsAscii>(text, 0);
  AppendAscii(text.substr(0, ascii), out);
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
    // Most of a result's text needs neither escape nor conversion.
    const size_t plain = RunEnd<NotPlainLanes, IsPlain>(text, at);
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

// A result writes nine names: the separators are string views, so that
// no append measures its text.
void JsonFields::Name(std::string_view name) {
  using namespace std::string_view_literals;
  if (!first_) out_->append(indent_ == 0 ? ","sv : ",\n"sv);
  first_ = false;
  out_->append(static_cast<size_t>(indent_), ' ');
  out_->push_back('"');
  out_->append(name);
  out_->append(indent_ == 0 ? "\":"sv : "\": "sv);
}

void AppendArrayElementOpen(uint64_t index, std::string* out) {
  out->append(index == 0 ? "[\n  {\n" : ",\n  {\n");
}

void AppendArrayElementClose(std::string* out) { out->append("\n  }"); }

void AppendArrayClose(uint64_t count, std::string* out) {
  out->append(count == 0 ? "[]\n" : "\n]\n");
}

}  // namespace qm::cli
