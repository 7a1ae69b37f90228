// The system's own idea of case: two units fold together when the system's
// case-blind comparison holds them equal, that is when their sort keys
// with case ignored are the same. So the Kelvin sign folds with "k" and
// the final sigma with the small and capital sigma, as the platform's
// case-blind search finds them, while the long s, the dotted capital I and
// the dotless small i stay apart from "s", "i" and "I" (Unicode's simple
// folding, on POSIX, puts the long s with "s"). Units that the comparison
// ignores altogether (no primary weight) fold to themselves: a unit-for-unit
// search cannot skip them. The invariant locale keeps the folds the same
// for every user, whatever the language of the desktop.
#include <string>
#include <unordered_map>

#include "platform/case_fold.h"
#include "platform/unicode_units.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

// The case-blind sort key of one character (one unit or a surrogate pair);
// empty when it has no weight of its own (a key of an ignorable character
// starts with the separator byte 1).
std::string CaseBlindKey(const wchar_t* units, int count) {
  BYTE key[64];
  const int length = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_SORTKEY | NORM_IGNORECASE,
                                     units, count, reinterpret_cast<LPWSTR>(key), sizeof key,
                                     nullptr, nullptr, 0);
  if (length <= 0 || key[0] == 1) return {};
  return std::string(reinterpret_cast<const char*>(key), static_cast<size_t>(length));
}

wchar_t LowerCase(wchar_t unit) {
  wchar_t lower = unit;
  ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, &unit, 1, &lower, 1, nullptr, nullptr,
                  0);
  return lower;
}

// Maps `count` units in place; false when the system would change the
// length.
bool MapCase(DWORD flags, wchar_t* units, int count) {
  std::wstring mapped(static_cast<size_t>(count), L'\0');
  const int written = ::LCMapStringEx(LOCALE_NAME_INVARIANT, flags, units, count, mapped.data(),
                                      count, nullptr, nullptr, 0);
  if (written != count) return false;
  mapped.copy(units, static_cast<size_t>(count));
  return true;
}

}  // namespace

// Each class of equal keys folds to the lower case of its first (lowest)
// unit when that stands in the class too, else to the first unit itself:
// "K", "k" and the Kelvin sign to "k".
void FillBmpFolds(char16_t* table) {
  std::unordered_map<std::string, char16_t> classFold;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    table[c] = static_cast<char16_t>(c);
    if (IsSurrogate(c)) continue;
    const wchar_t unit = static_cast<wchar_t>(c);
    const std::string key = CaseBlindKey(&unit, 1);
    if (key.empty()) continue;
    auto [entry, first] = classFold.try_emplace(key, static_cast<char16_t>(c));
    if (first) {
      const wchar_t lower = LowerCase(static_cast<wchar_t>(c));
      if (lower != static_cast<wchar_t>(c) && !IsSurrogate(static_cast<char32_t>(lower)) &&
          CaseBlindKey(&lower, 1) == key) {
        entry->second = static_cast<char16_t>(lower);
      }
    }
    table[c] = entry->second;
  }
}

// Beyond the BMP the classes are too many to gather at start-up: a code
// point folds to the lower case of its upper case where the system's
// comparison holds the two equal, and stays itself elsewhere.
char32_t FoldSupplementary(char32_t codePoint) {
  const wchar_t pair[2] = {static_cast<wchar_t>(LeadSurrogateOf(codePoint)),
                           static_cast<wchar_t>(TrailSurrogateOf(codePoint))};
  wchar_t mapped[2] = {pair[0], pair[1]};
  if (!MapCase(LCMAP_UPPERCASE, mapped, 2) || !MapCase(LCMAP_LOWERCASE, mapped, 2) ||
      !IsLeadSurrogate(static_cast<char32_t>(mapped[0])) ||
      !IsTrailSurrogate(static_cast<char32_t>(mapped[1]))) {
    return codePoint;
  }
  const std::string key = CaseBlindKey(pair, 2);
  if (key.empty() || CaseBlindKey(mapped, 2) != key) return codePoint;
  return CodePointOfPair(static_cast<char32_t>(mapped[0]), static_cast<char32_t>(mapped[1]));
}

}  // namespace qm::platform
