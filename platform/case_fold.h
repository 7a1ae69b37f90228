// The platform's own simple case mapping, from which text_case.h builds its
// fold tables once: ICU's simple case folding on POSIX, the classes of the
// system's case-blind comparison on Windows, so that case-blind comparison
// and search match what each platform's own functions consider equal.
//
// A fold keeps the UTF-16 length: a code point whose fold would need another
// number of units stays as it is.
#ifndef QMPECORE_PLATFORM_CASE_FOLD_H_
#define QMPECORE_PLATFORM_CASE_FOLD_H_

namespace qm::platform {

// Fills table[u] with the fold of every BMP unit u (0x10000 entries); a
// surrogate unit maps to itself.
void FillBmpFolds(char16_t* table);

// The fold of a code point above U+FFFF (itself when it has none).
char32_t FoldSupplementary(char32_t codePoint);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_CASE_FOLD_H_
