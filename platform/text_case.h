// Case-blind comparison of UTF-16 text: each code point folded by the
// platform's own mapping (case_fold.h), so that the Kelvin sign matches "k"
// and the long s matches "s" on every platform. Folding keeps the length: a
// code point folds to one of the same UTF-16 length, or stays. These serve
// where lstrcmpiW and StrStrIW are named, with one search engine for both
// platforms.
//
// Thread-safe: the table is built once, on first use.
#ifndef QMPECORE_PLATFORM_TEXT_CASE_H_
#define QMPECORE_PLATFORM_TEXT_CASE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace qm::platform {

// The fold of every BMP code unit: table[u] is the folded unit of u. A
// surrogate unit maps to itself (pairs fold through FoldCodePoint).
const char16_t* BmpFoldTable();

inline char16_t FoldUnit(char16_t unit) { return BmpFoldTable()[unit]; }

// The BMP units other than `folded` whose fold is `folded`, ascending: "K"
// and the Kelvin sign for "k". Empty for a surrogate and for a unit that
// is no fold of another. (`folded` folds to itself when it is a fold.)
std::u16string UnitsFoldingTo(char16_t folded);

// The simple case fold of any code point (a supplementary code point may
// fold to another supplementary code point, never to a BMP one).
char32_t FoldCodePoint(char32_t codePoint);

// Appends the folded form of `text` to `out`, code point by code point; the
// result has the same length as `text`.
void AppendFolded(std::u16string_view text, std::u16string* out);

// <0, 0, >0 like lstrcmpiW: the folded texts compared unit by unit.
int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b);

// The offset of the first occurrence of `needle` in `haystack`, or npos.
// An empty needle is never found (the platform searches behave so).
size_t FindText(std::u16string_view haystack, std::u16string_view needle);
size_t FindTextIgnoreCase(std::u16string_view haystack, std::u16string_view needle);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_TEXT_CASE_H_
