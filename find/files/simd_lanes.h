// Sixteen-element tests for the scanners of the file search. Each answers
// with a bit mask: bit i is set when element i of the block qualifies. The
// block is read unaligned and must lie wholly inside the caller's text.
//
// SSE2 where the compiler targets it (every x86-64 build), a plain loop
// elsewhere; the scanners above see only the masks, so one scanner serves
// bytes and UTF-16 units on every machine. This is the only file of the
// find that knows the instruction set.
#ifndef QMPECORE_FIND_FILES_SIMD_LANES_H_
#define QMPECORE_FIND_FILES_SIMD_LANES_H_

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

// Bit i set when byte i is not ASCII.
inline uint32_t NonAsciiMask(const char* block) {
  return static_cast<uint32_t>(
      _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block))));
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

// True when the four blocks at `block` are all ASCII and hold no CR and no
// LF: plain line text, which a measure of the text passes over whole.
inline bool IsPlainAsciiRun(const char* block) {
  const auto* p = reinterpret_cast<const __m128i*>(block);
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  __m128i bytes = _mm_setzero_si128();
  __m128i breaks = _mm_setzero_si128();
  for (int i = 0; i < 4; ++i) {
    const __m128i x = _mm_loadu_si128(p + i);
    bytes = _mm_or_si128(bytes, x);
    breaks = _mm_or_si128(breaks, _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf)));
  }
  return _mm_movemask_epi8(_mm_or_si128(bytes, breaks)) == 0;
}

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

inline uint32_t NonAsciiMask(const char* block) {
  uint32_t mask = 0;
  for (size_t i = 0; i < kLanes; ++i) {
    if (static_cast<unsigned char>(block[i]) >= 0x80) mask |= 1u << i;
  }
  return mask;
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

inline bool IsPlainAsciiRun(const char* block) {
  for (size_t i = 0; i < 4 * kLanes; ++i) {
    const auto byte = static_cast<unsigned char>(block[i]);
    if (byte >= 0x80 || byte == '\r' || byte == '\n') return false;
  }
  return true;
}

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

#endif  // QMPECORE_FIND_FILES_SIMD_LANES_H_
