// The system's own case-blind comparison and UTF-8 converter.
#include <windows.h>

#include "find/word_characters.h"
#include "reference_match.h"
#include "reference_text.h"

namespace qm::testing {

namespace {

// The system's case-blind sort key of one character; empty for one without
// weight of its own.
std::string CaseBlindKey(std::u16string_view character) {
  BYTE key[64];
  const int length = ::LCMapStringEx(
      LOCALE_NAME_INVARIANT, LCMAP_SORTKEY | NORM_IGNORECASE,
      reinterpret_cast<const wchar_t*>(character.data()), static_cast<int>(character.size()),
      reinterpret_cast<LPWSTR>(key), sizeof key, nullptr, nullptr, 0);
  if (length <= 0 || key[0] == 1) return {};
  return std::string(reinterpret_cast<const char*>(key), static_cast<size_t>(length));
}

// Two characters are equal ignoring case when they are the same, or when
// the system gives both a weight and the same case-blind key.
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a == b) return true;
  if (a.size() != b.size()) return false;
  const std::string key = CaseBlindKey(a);
  return !key.empty() && key == CaseBlindKey(b);
}

size_t CharacterLength(std::u16string_view text, size_t at) {
  return IsLead(text[at]) && at + 1 < text.size() && IsTrail(text[at + 1]) ? 2 : 1;
}

}  // namespace

// Character by character with the system's comparison, as StrStrIW finds,
// but without what a unit-for-unit search cannot follow: a character
// without weight is matched as itself rather than skipped, and no
// character stands for two (text_case_windows_test.cpp checks StrStrIW
// itself on texts without such characters).
size_t ReferenceFindIgnoringCase(std::u16string_view haystack, std::u16string_view needle) {
  for (size_t at = 0; at + needle.size() <= haystack.size(); ++at) {
    bool match = true;
    for (size_t i = 0; match && i < needle.size();) {
      const size_t length = CharacterLength(needle, i);
      const char16_t unit = needle[i];
      if (length == 1 && (IsLead(unit) || IsTrail(unit))) {
        match = haystack[at + i] == unit;  // a lone half matches itself, even inside a pair
      } else {
        match = CharacterLength(haystack, at + i) == length &&
                SameIgnoringCase(needle.substr(i, length), haystack.substr(at + i, length));
      }
      i += length;
    }
    if (match) return at;
  }
  return std::u16string_view::npos;
}

std::u16string ReferenceDecode(const std::string& bytes) {
  if (bytes.empty()) return {};
  std::wstring text(bytes.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           text.data(), static_cast<int>(text.size()));
  return std::u16string(text.begin(), text.begin() + (length > 0 ? length : 0));
}

}  // namespace qm::testing

namespace qm::testing {

// The system has no Unicode general categories to ask; the word table
// itself is checked against ICU's in the POSIX build.
bool ReferenceIsWordCharacter(char32_t codePoint) { return IsWordCharacter(codePoint); }

}  // namespace qm::testing
