// UTF-8 to UTF-16 for the file search, unit for unit as BytesToTextN
// converts: each maximal ill-formed subsequence (the longest start of a
// well-formed sequence, or one byte that starts none) becomes one U+FFFD,
// as ICU substitutes; a byte-order mark is an ordinary character. The file
// search decodes and counts with these, never with ICU, so that it can
// count UTF-16 units without making them (find/text_stretch.h) and decode
// into its own buffers.
//
// Zero bytes are ordinary characters here; the caller ends the text at the
// first one. The step of one sequence is the platform's (unicode_units.h),
// shared with the file names and the registry block.
#ifndef QMPECORE_FIND_FILES_UTF8_DECODE_H_
#define QMPECORE_FIND_FILES_UTF8_DECODE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/unicode_units.h"

namespace qm {

using platform::DecodeUtf8Step;
using platform::kReplacementCharacter;
using platform::Utf8Step;

// Writes the decoded bytes to `out` and returns the number of units. The
// text never has more units than bytes, so `out` needs room for
// bytes.size() units, all of which it may write.
size_t DecodeUtf8(std::string_view bytes, char16_t* out);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_UTF8_DECODE_H_
