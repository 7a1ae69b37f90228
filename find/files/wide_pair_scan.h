// The prefilter of a masked pattern (find/files/masked_pattern.h) over 64
// starts at a time, with vectors of thirty-two bytes where the processor
// has them (AVX2).
#ifndef QMPECORE_FIND_FILES_WIDE_PAIR_SCAN_H_
#define QMPECORE_FIND_FILES_WIDE_PAIR_SCAN_H_

#include <cstddef>
#include <cstdint>

namespace qm {

// Two elements of a pattern, `back` apart: a start s passes when
// (text[s] | firstOr) == first and (text[s + back] | lastOr) == last.
struct MaskedPair {
  char firstOr = 0;
  char first = 0;
  char lastOr = 0;
  char last = 0;
  size_t back = 0;
};

// The first block of 64 starts from `at` (at, at + 64, ...) with a start
// that passes, and the starts that do as bits of `passing`; only blocks
// that lie wholly at or before `lastStart` are scanned. With none,
// `passing` is 0 and `at` is where the blocks end.
struct PairBlock {
  size_t at = 0;
  uint64_t passing = 0;
};
using WidePairScan = PairBlock (*)(const char* text, size_t at, size_t lastStart,
                                   const MaskedPair& pair);

// The scan for this processor, or nullptr where it has no wide vectors.
WidePairScan ProcessorWidePairScan();

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_WIDE_PAIR_SCAN_H_
