// What a stretch of a file's raw text comes to once decoded and with its
// line breaks normalised (see find/line_breaks.h): the breaks in it, its
// length in UTF-16 units, and where its last break is. One pass over the
// stretch; most text goes sixteen bytes at a time, or thirty-two where the
// processor can.
#ifndef QMPECORE_FIND_FILES_TEXT_STRETCH_H_
#define QMPECORE_FIND_FILES_TEXT_STRETCH_H_

#include <cstddef>
#include <cstdint>

#include "find/files/wide_runs.h"

namespace qm {

struct Stretch {
  uint64_t breaks = 0;
  uint64_t units = 0;           // decoded, each break counting two
  size_t lastBreak = SIZE_MAX;  // index in the text of its last CR or LF
};

// Measures text[from, to), UTF-8 bytes (ill-formed ones as one U+FFFD
// each, as decoding gives them) or UTF-16 units. The stretch must not end
// between the CR and the LF of a pair, where it would count one break too
// many, nor within a UTF-8 sequence. text[0, readable) may be read
// (readable >= to): blocks then reach past a stretch's end, which spares
// its tail a walk one character at a time.
Stretch MeasureStretch(const char* text, size_t from, size_t to, size_t readable);
// The same with a chosen wide counter, or none: the tests and benchmarks
// compare the processor's with none.
Stretch MeasureStretch(const char* text, size_t from, size_t to, size_t readable,
                       WideRunCounter wide);
Stretch MeasureStretch(const char16_t* text, size_t from, size_t to, size_t readable);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_TEXT_STRETCH_H_
