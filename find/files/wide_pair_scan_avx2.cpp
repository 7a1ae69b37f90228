// The AVX2 scan of find/files/wide_pair_scan.h. As in
// find/files/wide_runs_avx2.cpp, only its functions carry the AVX2 target,
// and it is chosen only where the processor has it.
#include "find/files/wide_pair_scan.h"

#include "find/files/avx2_support.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QM_WIDE_PAIR_SCAN_AVX2 1
#endif

namespace qm {

#if defined(QM_WIDE_PAIR_SCAN_AVX2)
namespace {

__attribute__((target("avx2"))) inline __m256i Passes(const char* at, __m256i orBits,
                                                      __m256i target) {
  const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  return _mm256_cmpeq_epi8(_mm256_or_si256(bytes, orBits), target);
}

__attribute__((target("avx2"))) inline uint64_t Lanes(__m256i mask) {
  return static_cast<uint32_t>(_mm256_movemask_epi8(mask));
}

__attribute__((target("avx2"))) PairBlock ScanAvx2(const char* text, size_t at, size_t lastStart,
                                                   const MaskedPair& pair) {
  const __m256i firstOr = _mm256_set1_epi8(pair.firstOr);
  const __m256i first = _mm256_set1_epi8(pair.first);
  const __m256i lastOr = _mm256_set1_epi8(pair.lastOr);
  const __m256i last = _mm256_set1_epi8(pair.last);
  for (; lastStart >= 63 && at <= lastStart - 63; at += 64) {
    const char* block = text + at;
    const __m256i low = _mm256_and_si256(Passes(block, firstOr, first),
                                         Passes(block + pair.back, lastOr, last));
    const __m256i high = _mm256_and_si256(Passes(block + 32, firstOr, first),
                                          Passes(block + 32 + pair.back, lastOr, last));
    if (_mm256_movemask_epi8(_mm256_or_si256(low, high)) != 0) {
      return {at, Lanes(low) | Lanes(high) << 32};
    }
  }
  return {at, 0};
}

}  // namespace

WidePairScan ProcessorWidePairScan() { return ProcessorHasAvx2() ? &ScanAvx2 : nullptr; }

#else

WidePairScan ProcessorWidePairScan() { return nullptr; }

#endif

}  // namespace qm
