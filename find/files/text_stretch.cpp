#include "find/files/text_stretch.h"

#include <bit>

#include "find/files/simd_lanes.h"
#include "find/files/utf8_decode.h"

namespace qm {
namespace {

// Raw counts; the normalised ones follow from them (find/line_breaks.h).
struct Tally {
  uint64_t carriageReturns = 0;
  uint64_t lineFeeds = 0;
  uint64_t pairs = 0;
  uint64_t rawUnits = 0;
  const void* lastBreak = nullptr;
};

// One character: an ASCII byte or UTF-16 unit, or a UTF-8 sequence.
template <class Char>
const Char* Step(const Char* p, const Char* end, Tally* tally) {
  if constexpr (sizeof(Char) == 1) {
    if (static_cast<unsigned char>(*p) >= 0x80) {
      const Utf8Step step = DecodeUtf8Step(reinterpret_cast<const unsigned char*>(p),
                                           reinterpret_cast<const unsigned char*>(end));
      tally->rawUnits += step.codePoint > 0xFFFF ? 2 : 1;
      return p + step.length;
    }
  }
  if (*p == Char('\r')) {
    ++tally->carriageReturns;
    if (p + 1 < end && p[1] == Char('\n')) ++tally->pairs;
    tally->lastBreak = p;
  } else if (*p == Char('\n')) {
    ++tally->lineFeeds;
    tally->lastBreak = p;
  }
  ++tally->rawUnits;
  return p + 1;
}

// The lanes that need a character step: non-ASCII bytes. A UTF-16 unit is
// always one unit, so units never need one.
template <class Char>
uint32_t NonAsciiLanes(const Char* block) {
  if constexpr (sizeof(Char) == 1) {
    return NonAsciiMask(block);
  } else {
    return 0;
  }
}

// True when the non-ASCII bytes of the block are whole sequences whose
// continuations need no range check (each lead followed by its number of
// continuation bytes, none cut by the block's end), as almost all letters
// and signs outside English are: the block is then counted from masks too.
// Only the lanes in `inStretch` count. `units` gets their length in UTF-16
// units.
template <class Char>
bool IsWholeSequences(const Char* block, uint32_t nonAscii, uint32_t inStretch, uint32_t* units) {
  if constexpr (sizeof(Char) == 1) {
    const Utf8Lanes kinds = Utf8LaneKinds(block);
    const uint32_t continuations = kinds.continuations & inStretch;
    const uint32_t fourByte = kinds.fourByteLeads & inStretch;
    const uint32_t threeOrFour = (kinds.threeByteLeads & inStretch) | fourByte;
    const uint32_t leads = (kinds.twoByteLeads & inStretch) | threeOrFour;
    if ((continuations | leads) != nonAscii) return false;
    const uint32_t expected = (leads << 1) | (threeOrFour << 2) | (fourByte << 3);
    if (continuations != expected) return false;  // also when one runs past the stretch
    *units = CountLanes(inStretch) - CountLanes(continuations) + CountLanes(fourByte);
    return true;
  } else {
    return false;
  }
}

constexpr size_t kRun = BreakCounter::kRunBytes;

// The length in UTF-16 units of the kRun bytes at `run` when they are ASCII
// or whole sequences (as IsWholeSequences takes them, none cut by the
// run's end); else 0, and the run goes in blocks and steps.
uint32_t WholeRunUnits(const char* run) {
  if (IsAsciiRun(run)) return kRun;
  uint64_t nonAscii = 0;
  for (size_t i = 0; i < kRun; i += kLanes) nonAscii |= uint64_t{NonAsciiMask(run + i)} << i;
  uint64_t continuations = 0;
  uint64_t leads = 0;
  uint64_t threeOrFour = 0;
  uint64_t fourByte = 0;
  for (size_t i = 0; i < kRun; i += kLanes) {
    const Utf8Lanes kinds = Utf8LaneKinds(run + i);
    continuations |= uint64_t{kinds.continuations} << i;
    fourByte |= uint64_t{kinds.fourByteLeads} << i;
    threeOrFour |= uint64_t{kinds.threeByteLeads | kinds.fourByteLeads} << i;
    leads |= uint64_t{kinds.twoByteLeads | kinds.threeByteLeads | kinds.fourByteLeads} << i;
  }
  if ((continuations | leads) != nonAscii) return 0;
  if ((leads >> 63 | threeOrFour >> 62 | fourByte >> 61) != 0) return 0;
  if (((leads << 1) | (threeOrFour << 2) | (fourByte << 3)) != continuations) return 0;
  return kRun - CountLanes(continuations) + CountLanes(fourByte);
}

// Adds what the runs counted. The last break of a run that comes after
// every other break counted is the stretch's last so far.
void AddRuns(const BreakTotals& runs, Tally* tally) {
  tally->carriageReturns += runs.carriageReturns;
  tally->lineFeeds += runs.lineFeeds;
  tally->pairs += runs.pairs;
  const char* run = runs.lastRunWithBreak;
  if (run == nullptr || (tally->lastBreak != nullptr && run < tally->lastBreak)) return;
  for (const char* p = run + kRun - 1;; --p) {
    if (*p == '\r' || *p == '\n') {
      tally->lastBreak = p;
      return;
    }
  }
}

template <class Char>
bool NeedsStep(Char c) {
  return sizeof(Char) == 1 && static_cast<unsigned char>(c) >= 0x80;
}

// The ASCII start of each block (all of it, mostly, or all of a block of
// whole sequences) is counted from lane masks; a block needs the element
// after it for a CR in its last lane, so blocks stop one element short of
// the readable end. From a non-ASCII byte on, and in the tail of the text,
// the text goes one character at a time until an ASCII byte can start a
// block again.
template <class Char>
Stretch Measure(const Char* text, size_t from, size_t to, size_t readable) {
  const LaneTest<Char> isCr(0, Char('\r'));
  const LaneTest<Char> isLf(0, Char('\n'));
  Tally tally;
  BreakCounter runs;
  const Char* p = text + from;
  const Char* const end = text + to;
  const Char* const readEnd = text + readable;
  while (p < end) {
    if constexpr (sizeof(Char) == 1) {
      // Most text is ASCII or whole sequences: it goes a run at a time,
      // breaks and all.
      if (end - p > static_cast<ptrdiff_t>(kRun)) {
        const uint32_t units = WholeRunUnits(p);
        if (units != 0) {
          runs.Add(p);
          tally.rawUnits += units;
          p += kRun;
          continue;
        }
      }
    }
    // A block may reach past the stretch's end where the text goes on: its
    // lanes beyond the end are left out.
    if (readEnd - p > static_cast<ptrdiff_t>(kLanes)) {
      const uint32_t lanes = static_cast<uint32_t>(std::min<ptrdiff_t>(end - p, kLanes));
      const uint32_t inStretch = (1u << lanes) - 1;
      const uint32_t nonAscii = NonAsciiLanes(p) & inStretch;
      uint32_t units = lanes;
      const uint32_t ascii = nonAscii == 0 || IsWholeSequences(p, nonAscii, inStretch, &units)
                                 ? lanes
                                 : static_cast<uint32_t>(std::countr_zero(nonAscii));
      const uint32_t kept = (1u << ascii) - 1;
      const uint32_t cr = isCr(p) & kept;
      const uint32_t lf = isLf(p) & kept;
      if ((cr | lf) != 0) {
        // A CR before a non-ASCII lane has no LF after it, nor one before
        // the stretch's end.
        const bool lfAfterBlock =
            ascii == kLanes && end - p > static_cast<ptrdiff_t>(kLanes) && p[kLanes] == Char('\n');
        const uint32_t lfAfter = (lf >> 1) | (static_cast<uint32_t>(lfAfterBlock) << (kLanes - 1));
        tally.carriageReturns += CountLanes(cr);
        tally.lineFeeds += CountLanes(lf);
        tally.pairs += CountLanes(cr & lfAfter);
        tally.lastBreak = p + std::bit_width(cr | lf) - 1;
      }
      tally.rawUnits += ascii == lanes ? units : ascii;
      p += ascii;
      if (ascii == lanes) continue;
    }
    do {
      p = Step(p, end, &tally);
    } while (p < end && (readEnd - p <= static_cast<ptrdiff_t>(kLanes) || NeedsStep(*p)));
  }
  if constexpr (sizeof(Char) == 1) AddRuns(runs.Take(), &tally);
  Stretch stretch;
  stretch.breaks = tally.carriageReturns + tally.lineFeeds - tally.pairs;
  stretch.units = tally.rawUnits + tally.carriageReturns + tally.lineFeeds - 2 * tally.pairs;
  if (tally.lastBreak != nullptr) {
    stretch.lastBreak = static_cast<size_t>(static_cast<const Char*>(tally.lastBreak) - text);
  }
  return stretch;
}

}  // namespace

Stretch MeasureStretch(const char* text, size_t from, size_t to, size_t readable) {
  return Measure(text, from, to, readable);
}

Stretch MeasureStretch(const char16_t* text, size_t from, size_t to, size_t readable) {
  return Measure(text, from, to, readable);
}

}  // namespace qm
