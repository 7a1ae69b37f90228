// The breaks and UTF-16 units of runs of UTF-8 text, counted with vectors
// of thirty-two bytes where the processor has them (AVX2). Counting is
// most of the work of a find that matches often; the sixteen-byte code of
// find/simd_lanes.h serves every processor and every run these
// counters leave.
#ifndef QMPECORE_FIND_FILES_WIDE_RUNS_H_
#define QMPECORE_FIND_FILES_WIDE_RUNS_H_

#include <cstddef>
#include <cstdint>

namespace qm {

inline constexpr size_t kWideRunBytes = 64;

// What the runs text[start, stop) hold, as find/line_breaks.h counts
// breaks, except that each LF counts at the byte before it: `breaks` sums
// over the runs' bytes b (b is CR or b+1 is LF), `breakUnits` sums (exactly
// one of the two); the caller corrects both for an LF at start and at
// stop. A CR LF pair across stop is counted with the runs.
struct WideRuns {
  const char* stop = nullptr;
  uint64_t breaks = 0;
  uint64_t breakUnits = 0;
  uint64_t continuations = 0;  // UTF-8 continuation bytes, which add no unit
  uint64_t fourByteLeads = 0;  // which add a second unit
};

// Counts runs of kWideRunBytes from `start`, a character boundary with
// text[start - 3, start) readable, while the byte after a run is before
// `end` and the run is well-formed UTF-8. Stops before the first run that
// is not, at a character boundary: ill-formed text goes the sixteen-byte
// way, which decodes it.
using WideRunCounter = WideRuns (*)(const char* start, const char* end);

// The counter for this processor, or nullptr where it has no wide vectors.
WideRunCounter ProcessorWideRunCounter();

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_WIDE_RUNS_H_
