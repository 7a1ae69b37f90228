// The system's case mapping: a unit folds to the lower case of its upper
// case, so that every unit that the system takes as a case form of another
// lands on one fold: the long s (upper "S") on "s", the final sigma (upper
// capital sigma) on small sigma, the Kelvin sign (lower "k") on "k". The
// invariant locale keeps the folds the same for every user, whatever the
// language of the desktop.
//
// Where this differs from the Unicode folding of the POSIX backend: the
// dotted capital I and the dotless small i fold to "i" here (the system
// maps them so), while Unicode's simple folding keeps both apart.
#include <string>

#include "platform/case_fold.h"
#include "platform/unicode_units.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

// Maps `count` units in place; false when the system would change the
// length, as it may for a unit that has no simple mapping.
bool MapCase(DWORD flags, wchar_t* units, int count) {
  std::wstring mapped(static_cast<size_t>(count), L'\0');
  const int written =
      ::LCMapStringEx(LOCALE_NAME_INVARIANT, flags, units, count, mapped.data(), count,
                      nullptr, nullptr, 0);
  if (written != count) return false;
  mapped.copy(units, static_cast<size_t>(count));
  return true;
}

bool FoldUnits(wchar_t* units, int count) {
  return MapCase(LCMAP_UPPERCASE, units, count) && MapCase(LCMAP_LOWERCASE, units, count);
}

}  // namespace

// The whole plane goes through the system in one call, unit for unit; a
// unit whose fold is not one BMP unit, or a plane that the system would not
// map unit for unit, falls back to folding units one at a time.
void FillBmpFolds(char16_t* table) {
  std::wstring units(0x10000, L'\0');
  for (char32_t c = 0; c <= 0xFFFF; ++c) units[c] = static_cast<wchar_t>(c);
  const bool whole = FoldUnits(units.data(), 0x10000);
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    wchar_t folded = whole ? units[c] : static_cast<wchar_t>(c);
    if (!whole && !IsSurrogate(c) && !FoldUnits(&folded, 1)) folded = static_cast<wchar_t>(c);
    table[c] = IsSurrogate(c) || IsSurrogate(static_cast<char32_t>(folded))
                   ? static_cast<char16_t>(c)
                   : static_cast<char16_t>(folded);
  }
}

char32_t FoldSupplementary(char32_t codePoint) {
  wchar_t pair[2] = {static_cast<wchar_t>(LeadSurrogateOf(codePoint)),
                     static_cast<wchar_t>(TrailSurrogateOf(codePoint))};
  if (!FoldUnits(pair, 2) || !IsLeadSurrogate(static_cast<char32_t>(pair[0])) ||
      !IsTrailSurrogate(static_cast<char32_t>(pair[1]))) {
    return codePoint;
  }
  return CodePointOfPair(static_cast<char32_t>(pair[0]), static_cast<char32_t>(pair[1]));
}

}  // namespace qm::platform
