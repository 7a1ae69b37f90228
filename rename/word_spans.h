// Where a name stands as a whole word in the raw bytes of a text file, for
// a rename that changes those bytes and no others.
#ifndef QMPECORE_RENAME_WORD_SPANS_H_
#define QMPECORE_RENAME_WORD_SPANS_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace qm {

// The byte offsets of the occurrences of `word` (UTF-8, not empty) in
// `text`, left to right without overlap, that the find's whole-word rule
// accepts: the code point just before and the one just after, decoded from
// the bytes, are no word characters. A byte that belongs to no well-formed
// sequence decodes as U+FFFD, as the find reads it, and is no word
// character. Only the text before the first zero byte counts, as the find
// reads no further; an occurrence holding a CR or LF never counts, as the
// find matches within lines.
std::vector<size_t> FindWholeWordSpans(std::string_view text, std::string_view word);

}  // namespace qm

#endif  // QMPECORE_RENAME_WORD_SPANS_H_
