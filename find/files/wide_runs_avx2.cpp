// The AVX2 counter of find/files/wide_runs.h. Only its functions carry the
// AVX2 target, so nothing else in the program uses those instructions, and
// it is chosen only where the processor and the system (which must save
// the wide registers) have them.
//
// A run with a byte above ASCII is taken only when it is well-formed
// UTF-8. Most such text is checked cheaply as sequences whose leads let
// any continuation follow; the rest a pair of bytes at a time: the high
// and low half of each
// byte and the high half of the next one index three tables of the ways a
// pair can be wrong, and a pair is wrong when all three share a bit; a
// second and third continuation byte are told apart from a stray one by
// the bytes two and three before them. Text that is well-formed UTF-8
// decodes to one unit per byte that is not a continuation, and one more
// for each four-byte lead.
#include "find/files/wide_runs.h"

#include <algorithm>

#include "find/files/avx2_support.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QM_WIDE_RUNS_AVX2 1
#endif

namespace qm {

#if defined(QM_WIDE_RUNS_AVX2)
namespace {

// Byte lanes gain at most two per run; they are summed into 64-bit lanes
// before they can pass 255.
constexpr unsigned kRunsPerSum = 127;

// The ways a byte and the one after it can be wrong.
enum : uint8_t {
  kTooShort = 1 << 0,     // a lead followed by ASCII or another lead
  kTooLong = 1 << 1,      // ASCII followed by a continuation
  kOverlong3 = 1 << 2,    // E0 80-9F
  kTooLarge = 1 << 3,     // F4 90-BF, F5-FF 90-BF
  kSurrogate = 1 << 4,    // ED A0-BF
  kOverlong2 = 1 << 5,    // C0 or C1, then a continuation
  kOverlong4 = 1 << 6,    // F0 80-8F; also F5-FF 80-8F
  kTwoContinuations = 1 << 7,  // right only as a sequence's second or third
};
constexpr uint8_t kAnyLow = kTooShort | kTooLong | kTwoContinuations;
constexpr uint8_t kAbove4 = kTooLarge | kOverlong4;

constexpr uint8_t kByHighOfFirst[16] = {
    kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
    kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
    kTooShort | kOverlong2,                             // C0-CF
    kTooShort,                                          // D0-DF
    kTooShort | kOverlong3 | kSurrogate,                // E0-EF
    kTooShort | kTooLarge | kOverlong4};                // F0-FF
constexpr uint8_t kByLowOfFirst[16] = {
    kAnyLow | kOverlong2 | kOverlong3 | kOverlong4,  // C0 E0 F0
    kAnyLow | kOverlong2,                            // C1
    kAnyLow, kAnyLow,
    kAnyLow | kTooLarge,                             // F4
    kAnyLow | kAbove4, kAnyLow | kAbove4, kAnyLow | kAbove4, kAnyLow | kAbove4,
    kAnyLow | kAbove4, kAnyLow | kAbove4, kAnyLow | kAbove4, kAnyLow | kAbove4,
    kAnyLow | kAbove4 | kSurrogate,                  // ED (FD)
    kAnyLow | kAbove4, kAnyLow | kAbove4};
constexpr uint8_t kByHighOfSecond[16] = {
    kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kOverlong4,  // 80-8F
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge,   // 90-9F
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,   // A0-AF
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,   // B0-BF
    kTooShort, kTooShort, kTooShort, kTooShort};

// The bytes that are not common leads (CountCommonRun) nor ASCII nor
// continuations: C0, C1, E0, ED and F0-FF. A byte is one of them when the
// entries for its high and its low half share a bit.
constexpr uint8_t kRareLeadByHigh[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 4};
constexpr uint8_t kRareLeadByLow[16] = {7, 5, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 6, 4, 4};

// Vectors of constants, read from memory where they are used: the loop
// over plain text then keeps its registers.
struct Vector {
  alignas(32) uint8_t bytes[32];
};

constexpr Vector Splat(uint8_t byte) {
  Vector v{};
  for (uint8_t& b : v.bytes) b = byte;
  return v;
}

// The same sixteen bytes in both halves, for the in-half shuffle.
constexpr Vector Table(const uint8_t (&table)[16]) {
  Vector v{};
  for (int i = 0; i < 32; ++i) v.bytes[i] = table[i % 16];
  return v;
}

constexpr Vector kCr = Splat('\r');
constexpr Vector kLf = Splat('\n');
constexpr Vector kNibble = Splat(0x0F);
constexpr Vector kBelowContinuations = Splat(0xC0);  // as signed bytes, 80-BF are below it
constexpr Vector kFourByteLead = Splat(0xF0);
constexpr Vector kHighBit = Splat(0x80);
constexpr Vector kTwoByteLeadFloor = Splat(0xC0 - 0x80);
constexpr Vector kThreeByteLeadFloor = Splat(0xE0 - 0x80);
constexpr Vector kFourByteLeadFloor = Splat(0xF0 - 0x80);
constexpr Vector kHighOfFirst = Table(kByHighOfFirst);
constexpr Vector kLowOfFirst = Table(kByLowOfFirst);
constexpr Vector kHighOfSecond = Table(kByHighOfSecond);
constexpr Vector kRareByHigh = Table(kRareLeadByHigh);
constexpr Vector kRareByLow = Table(kRareLeadByLow);

__attribute__((target("avx2"))) inline __m256i Load(const char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

__attribute__((target("avx2"))) inline __m256i Load(const Vector& v) {
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(v.bytes));
}

__attribute__((target("avx2"))) inline __m256i Shuffle(const Vector& table, __m256i nibbles) {
  return _mm256_shuffle_epi8(Load(table), nibbles);
}

// The UTF-8 counts of the runs, kept in memory: only runs above ASCII add
// to them.
struct Utf8Counts {
  uint8_t continuations[32] = {};
  uint8_t fourByteLeads[32] = {};
};

// Byte tests that hold whether char is signed or not.
bool IsAboveAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsRareLead(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0xF0 || byte == 0xC0 || byte == 0xC1 || byte == 0xE0 || byte == 0xED;
}

__attribute__((target("avx2"))) inline __m256i CountInto(const uint8_t (&counts)[32],
                                                         __m256i lanes) {
  // A true lane is -1, so subtracting it counts one.
  return _mm256_sub_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(counts)), lanes);
}

__attribute__((target("avx2"))) inline void Store(uint8_t (&counts)[32], __m256i lanes) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(counts), lanes);
}

__attribute__((target("avx2"))) inline __m256i HighNibbles(__m256i bytes) {
  return _mm256_and_si256(_mm256_srli_epi16(bytes, 4), Load(kNibble));
}

// Most text above ASCII is sequences of two and three bytes whose leads
// let any continuation follow (C2-DF, E1-EC, EE-EF): then each byte is a
// continuation exactly where the byte before is a lead or the one two
// before is a three-byte lead. Whether the 64 bytes at `run`, with the two
// before them, are only such; if so, counts their continuations.
__attribute__((target("avx2"))) inline bool CountCommonRun(const char* run, Utf8Counts* counts) {
  // The bytes before the run make its first continuations due, so they
  // too must be common leads if leads at all (the third only a four-byte
  // lead can reach from).
  if (IsRareLead(run[-1]) || IsRareLead(run[-2]) || static_cast<unsigned char>(run[-3]) >= 0xF0) {
    return false;
  }
  __m256i errors = _mm256_setzero_si256();
  __m256i rare = _mm256_setzero_si256();
  __m256i continuations = _mm256_setzero_si256();
  for (const char* at = run; at < run + kWideRunBytes; at += 32) {
    const __m256i bytes = Load(at);
    const __m256i due = _mm256_or_si256(_mm256_subs_epu8(Load(at - 1), Load(kTwoByteLeadFloor)),
                                        _mm256_subs_epu8(Load(at - 2), Load(kThreeByteLeadFloor)));
    const __m256i isContinuation = _mm256_cmpgt_epi8(Load(kBelowContinuations), bytes);
    errors = _mm256_or_si256(errors, _mm256_xor_si256(due, isContinuation));
    rare = _mm256_or_si256(
        rare, _mm256_and_si256(Shuffle(kRareByHigh, HighNibbles(bytes)),
                               Shuffle(kRareByLow, _mm256_and_si256(bytes, Load(kNibble)))));
    continuations = _mm256_add_epi8(continuations, isContinuation);
  }
  if (_mm256_movemask_epi8(errors) != 0 || !_mm256_testz_si256(rare, rare)) return false;
  Store(counts->continuations, CountInto(counts->continuations, continuations));
  return true;
}

// Whether the 64 bytes at `run`, with the three before them, are
// well-formed UTF-8; if so, counts their continuations and four-byte leads.
__attribute__((target("avx2"))) inline bool CountAnyRun(const char* run, Utf8Counts* counts) {
  __m256i errors = _mm256_setzero_si256();
  __m256i continuations = _mm256_setzero_si256();
  __m256i fourByteLeads = _mm256_setzero_si256();
  for (const char* at = run; at < run + kWideRunBytes; at += 32) {
    const __m256i bytes = Load(at);
    const __m256i before1 = Load(at - 1);
    const __m256i pairs = _mm256_and_si256(
        _mm256_and_si256(Shuffle(kHighOfFirst, HighNibbles(before1)),
                         Shuffle(kLowOfFirst, _mm256_and_si256(before1, Load(kNibble)))),
        Shuffle(kHighOfSecond, HighNibbles(bytes)));
    // Two continuations are right where a three- or four-byte lead is two
    // before, or a four-byte one three before: the saturated differences
    // have their high bit set exactly there.
    const __m256i due = _mm256_or_si256(_mm256_subs_epu8(Load(at - 2), Load(kThreeByteLeadFloor)),
                                        _mm256_subs_epu8(Load(at - 3), Load(kFourByteLeadFloor)));
    errors = _mm256_or_si256(errors, _mm256_xor_si256(pairs, _mm256_and_si256(due, Load(kHighBit))));
    continuations =
        _mm256_add_epi8(continuations, _mm256_cmpgt_epi8(Load(kBelowContinuations), bytes));
    fourByteLeads = _mm256_add_epi8(
        fourByteLeads, _mm256_cmpeq_epi8(_mm256_max_epu8(bytes, Load(kFourByteLead)), bytes));
  }
  if (!_mm256_testz_si256(errors, errors)) return false;
  Store(counts->continuations, CountInto(counts->continuations, continuations));
  Store(counts->fourByteLeads, CountInto(counts->fourByteLeads, fourByteLeads));
  return true;
}

// Whether the 64 bytes at `run` are well-formed UTF-8, counted if so.
__attribute__((target("avx2"), noinline)) bool CheckRun(const char* run, Utf8Counts* counts) {
  return CountCommonRun(run, counts) || CountAnyRun(run, counts);
}

__attribute__((target("avx2"))) uint64_t SumLanes(__m256i counts) {
  const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
  uint64_t lanes[4];
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), sums);
  return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

__attribute__((target("avx2"))) uint64_t SumLanes(const uint8_t (&counts)[32]) {
  return SumLanes(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(counts)));
}

// The runs end at a character boundary: a sequence the last run cuts, whose
// next run was not taken, is given back (none of its bytes is a break, and
// its lead's lane counted an LF just after it).
void GiveBackCutSequence(const char* start, WideRuns* runs) {
  const char* stop = runs->stop;
  if (stop == start) return;
  const auto at = [stop](int back) { return static_cast<unsigned char>(stop[-back]); };
  const int cut = at(1) >= 0xC0 ? 1 : at(2) >= 0xE0 ? 2 : at(3) >= 0xF0 ? 3 : 0;
  if (cut == 0) return;
  runs->continuations -= static_cast<uint64_t>(cut - 1);
  runs->fourByteLeads -= at(cut) >= 0xF0;
  if (*stop == '\n') {
    runs->breaks -= 1;
    runs->breakUnits -= 1;
  }
  runs->stop = stop - cut;
}

// Adds the breaks of the 32 bytes at `at`, which are `bytes`: the CRs and
// the bytes before an LF (a true lane is -1, so subtracting it counts one).
struct BreakLanes {
  __m256i breaks;
  __m256i breakUnits;
};

__attribute__((target("avx2"))) inline void AddBreaks(const char* at, __m256i bytes,
                                                      BreakLanes* lanes) {
  const __m256i isCr = _mm256_cmpeq_epi8(bytes, Load(kCr));
  const __m256i lfNext = _mm256_cmpeq_epi8(Load(at + 1), Load(kLf));
  lanes->breaks = _mm256_sub_epi8(lanes->breaks, _mm256_or_si256(isCr, lfNext));
  lanes->breakUnits = _mm256_sub_epi8(lanes->breakUnits, _mm256_xor_si256(isCr, lfNext));
}

__attribute__((target("avx2"))) WideRuns CountAvx2(const char* start, const char* end) {
  WideRuns runs;
  const char* p = start;
  // The bytes before `start` are not known to be what they seem: a
  // continuation there may follow bytes that were decoded apart from it.
  if (IsContinuation(*start)) {
    runs.stop = start;
    return runs;
  }
  // A run of ASCII after a byte above it must be checked too: it may end a
  // sequence too soon.
  bool checkNext = IsAboveAscii(start[-1]);
  for (bool stopped = false; !stopped;) {
    // The runs up to the next sum whose byte after them is before the end.
    const size_t count =
        std::min<size_t>(kRunsPerSum, (static_cast<size_t>(end - p) - 1) / kWideRunBytes);
    if (count == 0) break;
    BreakLanes lanes = {_mm256_setzero_si256(), _mm256_setzero_si256()};
    Utf8Counts utf8;
    const char* const limit = p + count * kWideRunBytes;
    while (p < limit) {
      // Plain ASCII, the most of most text, goes two runs at a time.
      if (!checkNext) {
        while (static_cast<size_t>(limit - p) >= 2 * kWideRunBytes) {
          const __m256i a = Load(p);
          const __m256i b = Load(p + 32);
          const __m256i c = Load(p + 64);
          const __m256i d = Load(p + 96);
          const __m256i firstRun = _mm256_or_si256(a, b);
          if (_mm256_movemask_epi8(_mm256_or_si256(firstRun, _mm256_or_si256(c, d))) != 0) {
            // The first may still be plain: then the second is checked.
            if (_mm256_movemask_epi8(firstRun) == 0) {
              AddBreaks(p, a, &lanes);
              AddBreaks(p + 32, b, &lanes);
              p += kWideRunBytes;
            }
            break;
          }
          AddBreaks(p, a, &lanes);
          AddBreaks(p + 32, b, &lanes);
          AddBreaks(p + 64, c, &lanes);
          AddBreaks(p + 96, d, &lanes);
          p += 2 * kWideRunBytes;
        }
        if (p == limit) break;
      }
      const __m256i first = Load(p);
      const __m256i second = Load(p + 32);
      if ((static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(first, second))) |
           checkNext) != 0) {
        if (!CheckRun(p, &utf8)) {
          stopped = true;
          break;
        }
        checkNext = IsAboveAscii(p[kWideRunBytes - 1]);
      }
      AddBreaks(p, first, &lanes);
      AddBreaks(p + 32, second, &lanes);
      p += kWideRunBytes;
    }
    runs.breaks += SumLanes(lanes.breaks);
    runs.breakUnits += SumLanes(lanes.breakUnits);
    runs.continuations += SumLanes(utf8.continuations);
    runs.fourByteLeads += SumLanes(utf8.fourByteLeads);
  }
  runs.stop = p;
  GiveBackCutSequence(start, &runs);
  return runs;
}

}  // namespace

WideRunCounter ProcessorWideRunCounter() { return ProcessorHasAvx2() ? &CountAvx2 : nullptr; }

#else

WideRunCounter ProcessorWideRunCounter() { return nullptr; }

#endif

}  // namespace qm
