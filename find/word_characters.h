// The word rule of a whole-word find: a match counts when the character
// just before it and the one just after it (where there is one) are not
// word characters, that is not letters, digits or connector punctuation
// (Unicode general categories L, N and Pc).
#ifndef QMPECORE_FIND_WORD_CHARACTERS_H_
#define QMPECORE_FIND_WORD_CHARACTERS_H_

#include <cstddef>
#include <string_view>

namespace qm {

bool IsWordCharacter(char32_t codePoint);

// True when text[start, start + length) has no word character on either
// side. A lone surrogate is no word character.
bool IsWholeWordAt(std::u16string_view text, size_t start, size_t length);

}  // namespace qm

#endif  // QMPECORE_FIND_WORD_CHARACTERS_H_
