// Case folding with a table for the BMP, built once from the platform's
// mapping (case_fold.h), so that the common path is one array load per
// code unit.
#include "platform/text_case.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/case_fold.h"
#include "platform/unicode_units.h"

namespace qm::platform {
namespace {

using FoldTable = std::array<char16_t, 0x10000>;

std::unique_ptr<FoldTable> BuildFoldTable() {
  auto table = std::make_unique<FoldTable>();
  FillBmpFolds(table->data());
  return table;
}

// The folded unit at `i` of the folded form of `text`. Units of a
// surrogate pair fold together; a lone surrogate stays.
inline char16_t FoldedUnitAt(std::u16string_view text, size_t i, const char16_t* table) {
  char16_t unit = text[i];
  if (!IsSurrogate(unit)) return table[unit];
  char32_t pair;
  bool lead;
  if (IsLeadSurrogate(unit) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) {
    pair = CodePointOfPair(unit, text[i + 1]);
    lead = true;
  } else if (IsTrailSurrogate(unit) && i > 0 && IsLeadSurrogate(text[i - 1])) {
    pair = CodePointOfPair(text[i - 1], unit);
    lead = false;
  } else {
    return unit;
  }
  char32_t folded = FoldCodePoint(pair);
  return lead ? LeadSurrogateOf(folded) : TrailSurrogateOf(folded);
}

bool FoldedMatchAt(std::u16string_view haystack, size_t at, std::u16string_view foldedNeedle,
                   const char16_t* table) {
  for (size_t k = 1; k < foldedNeedle.size(); ++k) {
    if (FoldedUnitAt(haystack, at + k, table) != foldedNeedle[k]) return false;
  }
  return true;
}

// (fold, unit) for every BMP unit that folds to another unit, ascending.
using FoldPairs = std::vector<std::pair<char16_t, char16_t>>;

FoldPairs BuildFoldPairs(const char16_t* table) {
  FoldPairs pairs;
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
    if (table[unit] != unit) pairs.emplace_back(table[unit], static_cast<char16_t>(unit));
  }
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

}  // namespace

const char16_t* BmpFoldTable() {
  static const std::unique_ptr<FoldTable> table = BuildFoldTable();
  return table->data();
}

std::u16string UnitsFoldingTo(char16_t folded) {
  static const FoldPairs pairs = BuildFoldPairs(BmpFoldTable());
  std::u16string units;
  auto at = std::lower_bound(pairs.begin(), pairs.end(), std::make_pair(folded, char16_t{0}));
  for (; at != pairs.end() && at->first == folded; ++at) units.push_back(at->second);
  return units;
}

char32_t FoldCodePoint(char32_t codePoint) {
  if (codePoint <= 0xFFFF) return BmpFoldTable()[codePoint];
  return FoldSupplementary(codePoint);
}

void AppendFolded(std::u16string_view text, std::u16string* out) {
  const char16_t* table = BmpFoldTable();
  size_t start = out->size();
  out->resize(start + text.size());
  char16_t* dest = out->data() + start;
  for (size_t i = 0; i < text.size(); ++i) dest[i] = FoldedUnitAt(text, i, table);
}

int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b) {
  const char16_t* table = BmpFoldTable();
  size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    char16_t x = FoldedUnitAt(a, i, table);
    char16_t y = FoldedUnitAt(b, i, table);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

size_t FindText(std::u16string_view haystack, std::u16string_view needle) {
  if (needle.empty()) return std::u16string_view::npos;
  return haystack.find(needle);
}

// The needle is folded once, into a buffer on the stack when it is short;
// the haystack is folded unit by unit as the scan reaches it, so nothing is
// allocated for a short needle.
size_t FindTextIgnoreCase(std::u16string_view haystack, std::u16string_view needle) {
  constexpr size_t kShortNeedle = 128;
  if (needle.empty() || needle.size() > haystack.size()) return std::u16string_view::npos;
  const char16_t* table = BmpFoldTable();
  char16_t shortBuffer[kShortNeedle];
  std::u16string longBuffer;
  const char16_t* folded = shortBuffer;
  if (needle.size() <= kShortNeedle) {
    for (size_t i = 0; i < needle.size(); ++i) shortBuffer[i] = FoldedUnitAt(needle, i, table);
  } else {
    AppendFolded(needle, &longBuffer);
    folded = longBuffer.data();
  }
  std::u16string_view foldedNeedle(folded, needle.size());
  const char16_t first = foldedNeedle[0];
  const size_t last = haystack.size() - needle.size();
  for (size_t at = 0; at <= last; ++at) {
    if (FoldedUnitAt(haystack, at, table) == first &&
        FoldedMatchAt(haystack, at, foldedNeedle, table)) {
      return at;
    }
  }
  return std::u16string_view::npos;
}

}  // namespace qm::platform
