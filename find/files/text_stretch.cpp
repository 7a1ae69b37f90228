#include "find/files/text_stretch.h"

#include <algorithm>
#include <bit>

#include "find/files/line_breaks.h"
#include "find/simd_lanes.h"
#include "find/files/utf8_decode.h"
#include "find/files/wide_runs.h"

namespace qm {
namespace {

// The stretch so far, in the terms of Stretch: a CR or LF adds a break
// and two units, a CR LF pair then takes back a break and two units. The
// counts are unsigned, so a pair may be taken back before its LF is added.
struct Tally {
  uint64_t breaks = 0;
  uint64_t units = 0;
  const void* lastBreak = nullptr;
};

void AddBreaks(uint64_t carriageReturns, uint64_t lineFeeds, uint64_t pairs, Tally* tally) {
  tally->breaks += carriageReturns + lineFeeds - pairs;
  tally->units += carriageReturns + lineFeeds - 2 * pairs;
}

// One character: an ASCII byte or UTF-16 unit, or a UTF-8 sequence.
template <class Char>
const Char* Step(const Char* p, const Char* end, Tally* tally) {
  if constexpr (sizeof(Char) == 1) {
    if (static_cast<unsigned char>(*p) >= 0x80) {
      const Utf8Step step = DecodeUtf8Step(reinterpret_cast<const unsigned char*>(p),
                                           reinterpret_cast<const unsigned char*>(end));
      tally->units += step.codePoint > 0xFFFF ? 2 : 1;
      return p + step.length;
    }
  }
  if (*p == Char('\r') || *p == Char('\n')) {
    const bool pair = *p == Char('\r') && p + 1 < end && p[1] == Char('\n');
    AddBreaks(*p == Char('\r'), *p == Char('\n'), pair, tally);
    tally->lastBreak = p;
  }
  ++tally->units;
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
  AddBreaks(runs.carriageReturns, runs.lineFeeds, runs.pairs, tally);
  const char* run = runs.lastRunWithBreak;
  if (run == nullptr || (tally->lastBreak != nullptr && run < tally->lastBreak)) return;
  for (const char* p = run + kRun - 1;; --p) {
    if (*p == '\r' || *p == '\n') {
      tally->lastBreak = p;
      return;
    }
  }
}

// The runs a wide counter took, which lie in the stretch with the byte
// after them: their LFs were counted at the byte before each.
struct RunRegion {
  const char* start = nullptr;
  const char* stop = nullptr;
};

void AddWideRuns(const char* start, const WideRuns& runs, Tally* tally,
                 RunRegion* lastWithBreak) {
  if (runs.stop == start) return;
  const uint64_t lfAtStart = *start == '\n';
  const uint64_t lfAtStop = *runs.stop == '\n';
  const uint64_t breaks = runs.breaks + lfAtStart - lfAtStop;
  tally->breaks += breaks;
  tally->units += static_cast<uint64_t>(runs.stop - start) - runs.continuations +
                  runs.fourByteLeads + runs.breakUnits + lfAtStart - lfAtStop;
  if (breaks != 0) *lastWithBreak = {start, runs.stop};
}

// The last break of the stretch, where wide runs hold it: the counters
// only count, so it is looked for from the runs' end.
void AddLastWideRunBreak(const char* text, const RunRegion& region, Tally* tally) {
  if (region.start == nullptr) return;
  if (tally->lastBreak != nullptr && region.start < tally->lastBreak) return;
  const size_t at = FindLastBreak(text, static_cast<size_t>(region.start - text),
                                  static_cast<size_t>(region.stop - text));
  tally->lastBreak = text + at;
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
Stretch Measure(const Char* text, size_t from, size_t to, size_t readable,
                WideRunCounter wide) {
  const LaneTest<Char> isCr(0, Char('\r'));
  const LaneTest<Char> isLf(0, Char('\n'));
  Tally tally;
  BreakCounter runs;
  const Char* p = text + from;
  const Char* const end = text + to;
  const Char* const readEnd = text + readable;
  RunRegion lastWideRuns;
  // Where the wide counter may next be tried: it reads three bytes before.
  size_t wideFrom = std::max<size_t>(from, 3);
  while (p < end) {
    if constexpr (sizeof(Char) == 1) {
      // Most text goes in wide runs where the processor has them, up to a
      // run that cannot; that run goes as below.
      if (wide != nullptr && static_cast<size_t>(p - text) >= wideFrom &&
          end - p > static_cast<ptrdiff_t>(kWideRunBytes)) {
        const WideRuns wideRuns = wide(p, end);
        AddWideRuns(p, wideRuns, &tally, &lastWideRuns);
        p = wideRuns.stop;
        wideFrom = static_cast<size_t>(p - text) + kWideRunBytes;
      }
      // Most text is ASCII or whole sequences: it goes a run at a time,
      // breaks and all.
      if (end - p > static_cast<ptrdiff_t>(kRun)) {
        const uint32_t units = WholeRunUnits(p);
        if (units != 0) {
          runs.Add(p);
          tally.units += units;
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
        AddBreaks(CountLanes(cr), CountLanes(lf), CountLanes(cr & lfAfter), &tally);
        tally.lastBreak = p + std::bit_width(cr | lf) - 1;
      }
      tally.units += ascii == lanes ? units : ascii;
      p += ascii;
      if (ascii == lanes) continue;
    }
    do {
      p = Step(p, end, &tally);
    } while (p < end && (readEnd - p <= static_cast<ptrdiff_t>(kLanes) || NeedsStep(*p)));
  }
  if constexpr (sizeof(Char) == 1) {
    AddRuns(runs.Take(), &tally);
    AddLastWideRunBreak(text, lastWideRuns, &tally);
  }
  Stretch stretch;
  stretch.breaks = tally.breaks;
  stretch.units = tally.units;
  if (tally.lastBreak != nullptr) {
    stretch.lastBreak = static_cast<size_t>(static_cast<const Char*>(tally.lastBreak) - text);
  }
  return stretch;
}

}  // namespace

Stretch MeasureStretch(const char* text, size_t from, size_t to, size_t readable) {
  return Measure(text, from, to, readable, ProcessorWideRunCounter());
}

Stretch MeasureStretch(const char* text, size_t from, size_t to, size_t readable,
                       WideRunCounter wide) {
  return Measure(text, from, to, readable, wide);
}

Stretch MeasureStretch(const char16_t* text, size_t from, size_t to, size_t readable) {
  return Measure(text, from, to, readable, nullptr);
}

}  // namespace qm
