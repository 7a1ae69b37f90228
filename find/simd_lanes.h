// Sixteen-element tests for the scanners of the file search, and an
// eight-unit test for the needle's scan of field texts, most of which are
// too short for sixteen. Each answers with a bit mask: bit i is set when
// element i of the block qualifies. The block is read unaligned and must
// lie wholly inside the caller's text.
//
// SSE2 where the compiler targets it (every x86-64 build), a plain loop
// elsewhere; the scanners above see only the masks, so one scanner serves
// bytes and UTF-16 units on every machine. This is the only file of the
// find that knows the instruction set.
#ifndef QMPECORE_FIND_SIMD_LANES_H_
#define QMPECORE_FIND_SIMD_LANES_H_

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>

namespace qm {

inline constexpr size_t kLanes = 16;

// The number of lanes set in a mask. Where the target lacks a population
// count instruction std::popcount is a library call, dearer than these few
// shifts.
inline uint32_t CountLanes(uint32_t mask) {
#if defined(__POPCNT__)
  return static_cast<uint32_t>(std::popcount(mask));
#else
  mask = mask - ((mask >> 1) & 0x5555);
  mask = (mask & 0x3333) + ((mask >> 2) & 0x3333);
  mask = (mask + (mask >> 4)) & 0x0F0F;
  return (mask + (mask >> 8)) & 0x1F;
#endif
}

// The same for the masks of four blocks side by side.
inline uint32_t CountLanes(uint64_t mask) {
#if defined(__POPCNT__)
  return static_cast<uint32_t>(std::popcount(mask));
#else
  mask = mask - ((mask >> 1) & 0x5555555555555555);
  mask = (mask & 0x3333333333333333) + ((mask >> 2) & 0x3333333333333333);
  mask = (mask + (mask >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<uint32_t>((mask * 0x0101010101010101) >> 56);
#endif
}

// The kinds of UTF-8 bytes in a block, as lane masks: continuation bytes
// (0x80-0xBF), and the leads of two-, three- and four-byte sequences whose
// continuations may take any value (0xC2-0xDF; 0xE1-0xEC and 0xEE-0xEF;
// 0xF1-0xF3). The leads E0, ED, F0 and F4 restrict their next byte and
// are in none of the masks, as are the bytes that never occur.
struct Utf8Lanes {
  uint32_t continuations = 0;
  uint32_t twoByteLeads = 0;
  uint32_t threeByteLeads = 0;
  uint32_t fourByteLeads = 0;
};

// What a BreakCounter has counted.
struct BreakTotals {
  uint64_t carriageReturns = 0;
  uint64_t lineFeeds = 0;
  uint64_t pairs = 0;
  const char* lastRunWithBreak = nullptr;  // the start of the last run holding a CR or LF
};

#if defined(__SSE2__)

// One lane test "(element | orBits) == target", set up once and applied to
// many blocks. With orBits 0x20 on an ASCII lower-case letter it accepts
// both cases of the letter and nothing else.
template <class Char>
class LaneTest;

template <>
class LaneTest<char> {
 public:
  LaneTest(char orBits, char target) : or_(_mm_set1_epi8(orBits)), target_(_mm_set1_epi8(target)) {}
  uint32_t operator()(const char* block) const {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(x, or_), target_)));
  }

 private:
  __m128i or_;
  __m128i target_;
};

template <>
class LaneTest<char16_t> {
 public:
  LaneTest(char16_t orBits, char16_t target)
      : or_(_mm_set1_epi16(static_cast<short>(orBits))),
        target_(_mm_set1_epi16(static_cast<short>(target))) {}
  // Two blocks of eight units; the saturating pack keeps 0 and -1 as they
  // are, so the byte mask of the pack is the unit mask.
  uint32_t operator()(const char16_t* block) const {
    const auto* p = reinterpret_cast<const __m128i*>(block);
    __m128i low = _mm_cmpeq_epi16(_mm_or_si128(_mm_loadu_si128(p), or_), target_);
    __m128i high = _mm_cmpeq_epi16(_mm_or_si128(_mm_loadu_si128(p + 1), or_), target_);
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
  }

 private:
  __m128i or_;
  __m128i target_;
};

// The same test on a block of eight units.
class EightUnitTest {
 public:
  EightUnitTest(char16_t orBits, char16_t target)
      : or_(_mm_set1_epi16(static_cast<short>(orBits))),
        target_(_mm_set1_epi16(static_cast<short>(target))) {}
  uint32_t operator()(const char16_t* block) const {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i equal = _mm_cmpeq_epi16(_mm_or_si128(x, or_), target_);
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(equal, _mm_setzero_si128())));
  }

 private:
  __m128i or_;
  __m128i target_;
};

// Bit i set when byte i is not ASCII.
inline uint32_t NonAsciiMask(const char* block) {
  return static_cast<uint32_t>(
      _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block))));
}

// True when the four blocks at `run` are all ASCII.
inline bool IsAsciiRun(const char* run) {
  const auto* p = reinterpret_cast<const __m128i*>(run);
  const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(p), _mm_loadu_si128(p + 1)),
                                   _mm_or_si128(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3)));
  return _mm_movemask_epi8(any) == 0;
}

// As signed bytes the ranges are: continuations -128..-65, two-byte
// leads -62..-33, three-byte leads -31..-17 but for ED (-19), four-byte
// leads -15..-13.
inline Utf8Lanes Utf8LaneKinds(const char* block) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  const auto between = [&x](char low, char high) {  // low < x < high
    return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(low)),
                         _mm_cmplt_epi8(x, _mm_set1_epi8(high)));
  };
  const auto lanes = [](__m128i mask) { return static_cast<uint32_t>(_mm_movemask_epi8(mask)); };
  const __m128i threeByte = _mm_andnot_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(-19)),
                                             between(-32, -16));
  return {lanes(_mm_cmplt_epi8(x, _mm_set1_epi8(-64))), lanes(between(-63, -32)),
          lanes(threeByte), lanes(between(-16, -12))};
}

// Counts the CRs, the LFs and the CRs followed by an LF in runs of
// kRunBytes bytes, a run at a time: most text is counted with no branch
// per break. The counts are kept in byte lanes (at most four per lane and
// run) and summed into the totals before they can overflow.
class BreakCounter {
 public:
  static constexpr size_t kRunBytes = 4 * kLanes;

  // Counts the run at `run`; reads run[kRunBytes] too, for a CR in the
  // last lane.
  void Add(const char* run) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i breaks = _mm_setzero_si128();
    for (int i = 0; i < 4; ++i) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(run) + i);
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(run + 1) + i);
      const __m128i isCr = _mm_cmpeq_epi8(block, cr);
      const __m128i isLf = _mm_cmpeq_epi8(block, lf);
      // A true lane is -1, so subtracting it counts one.
      carriageReturns_ = _mm_sub_epi8(carriageReturns_, isCr);
      lineFeeds_ = _mm_sub_epi8(lineFeeds_, isLf);
      pairs_ = _mm_sub_epi8(pairs_, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf)));
      breaks = _mm_or_si128(breaks, _mm_or_si128(isCr, isLf));
    }
    if (_mm_movemask_epi8(breaks) != 0) lastRunWithBreak_ = run;
    if (++pending_ == kRunsPerSum) Sum();
  }

  BreakTotals Take() {
    Sum();
    return totals_;
  }

 private:
  static constexpr unsigned kRunsPerSum = 63;  // 63 * 4 < 256

  static uint64_t SumLanes(__m128i counts) {
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return static_cast<uint64_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
  void Sum() {
    totals_.carriageReturns += SumLanes(carriageReturns_);
    totals_.lineFeeds += SumLanes(lineFeeds_);
    totals_.pairs += SumLanes(pairs_);
    totals_.lastRunWithBreak = lastRunWithBreak_;
    carriageReturns_ = lineFeeds_ = pairs_ = _mm_setzero_si128();
    pending_ = 0;
  }

  __m128i carriageReturns_ = _mm_setzero_si128();
  __m128i lineFeeds_ = _mm_setzero_si128();
  __m128i pairs_ = _mm_setzero_si128();
  const char* lastRunWithBreak_ = nullptr;
  unsigned pending_ = 0;
  BreakTotals totals_;
};

// Copies sixteen ASCII bytes as sixteen UTF-16 units.
inline void WidenAscii(const char* block, char16_t* out) {
  __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(x, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(x, zero));
}

// When the sixteen units are all ASCII, writes their simple case fold
// (A-Z to a-z, all else unchanged) and returns true; else writes nothing.
inline bool FoldAsciiUnits(const char16_t* block, char16_t* out) {
  const auto* p = reinterpret_cast<const __m128i*>(block);
  const __m128i low = _mm_loadu_si128(p);
  const __m128i high = _mm_loadu_si128(p + 1);
  const __m128i aboveAscii =
      _mm_and_si128(_mm_or_si128(low, high), _mm_set1_epi16(static_cast<short>(0xFF80)));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(aboveAscii, _mm_setzero_si128())) != 0xFFFF) return false;
  // Signed compares are right here: every unit is below 0x80.
  const auto fold = [](__m128i x) {
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi16(x, _mm_set1_epi16('A' - 1)),
                                        _mm_cmplt_epi16(x, _mm_set1_epi16('Z' + 1)));
    return _mm_add_epi16(x, _mm_and_si128(upper, _mm_set1_epi16(0x20)));
  };
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), fold(low));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), fold(high));
  return true;
}

#else  // a plain loop with the same answers

template <class Char>
class LaneTest {
 public:
  LaneTest(Char orBits, Char target) : or_(orBits), target_(target) {}
  uint32_t operator()(const Char* block) const {
    uint32_t mask = 0;
    for (size_t i = 0; i < kLanes; ++i) {
      if (static_cast<Char>(block[i] | or_) == target_) mask |= 1u << i;
    }
    return mask;
  }

 private:
  Char or_;
  Char target_;
};

class EightUnitTest {
 public:
  EightUnitTest(char16_t orBits, char16_t target) : or_(orBits), target_(target) {}
  uint32_t operator()(const char16_t* block) const {
    uint32_t mask = 0;
    for (size_t i = 0; i < 8; ++i) {
      if (static_cast<char16_t>(block[i] | or_) == target_) mask |= 1u << i;
    }
    return mask;
  }

 private:
  char16_t or_;
  char16_t target_;
};

inline uint32_t NonAsciiMask(const char* block) {
  uint32_t mask = 0;
  for (size_t i = 0; i < kLanes; ++i) {
    if (static_cast<unsigned char>(block[i]) >= 0x80) mask |= 1u << i;
  }
  return mask;
}

inline bool IsAsciiRun(const char* run) {
  for (size_t i = 0; i < 4 * kLanes; ++i) {
    if (static_cast<unsigned char>(run[i]) >= 0x80) return false;
  }
  return true;
}

inline Utf8Lanes Utf8LaneKinds(const char* block) {
  Utf8Lanes lanes;
  for (size_t i = 0; i < kLanes; ++i) {
    const auto byte = static_cast<unsigned char>(block[i]);
    const uint32_t lane = 1u << i;
    if (byte >= 0x80 && byte <= 0xBF) lanes.continuations |= lane;
    if (byte >= 0xC2 && byte <= 0xDF) lanes.twoByteLeads |= lane;
    if (byte >= 0xE1 && byte <= 0xEF && byte != 0xED) lanes.threeByteLeads |= lane;
    if (byte >= 0xF1 && byte <= 0xF3) lanes.fourByteLeads |= lane;
  }
  return lanes;
}

class BreakCounter {
 public:
  static constexpr size_t kRunBytes = 4 * kLanes;

  void Add(const char* run) {
    for (size_t i = 0; i < kRunBytes; ++i) {
      if (run[i] == '\r') {
        ++totals_.carriageReturns;
        if (run[i + 1] == '\n') ++totals_.pairs;
        totals_.lastRunWithBreak = run;
      } else if (run[i] == '\n') {
        ++totals_.lineFeeds;
        totals_.lastRunWithBreak = run;
      }
    }
  }
  BreakTotals Take() { return totals_; }

 private:
  BreakTotals totals_;
};

inline void WidenAscii(const char* block, char16_t* out) {
  for (size_t i = 0; i < kLanes; ++i) out[i] = static_cast<unsigned char>(block[i]);
}

inline bool FoldAsciiUnits(const char16_t* block, char16_t* out) {
  for (size_t i = 0; i < kLanes; ++i) {
    if (block[i] >= 0x80) return false;
  }
  for (size_t i = 0; i < kLanes; ++i) {
    out[i] =
        block[i] >= u'A' && block[i] <= u'Z' ? static_cast<char16_t>(block[i] + 0x20) : block[i];
  }
  return true;
}

#endif

}  // namespace qm

#endif  // QMPECORE_FIND_SIMD_LANES_H_
