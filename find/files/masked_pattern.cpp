#include "find/files/masked_pattern.h"

#include <bit>
#include <cassert>
#include <utility>

#include "find/simd_lanes.h"

namespace qm {

template <class Char>
MaskedPattern<Char>::MaskedPattern(std::basic_string<Char> elements, std::basic_string<Char> orBits)
    : elements_(std::move(elements)), orBits_(std::move(orBits)) {
  assert(elements_.size() == orBits_.size());
}

template <class Char>
bool MaskedPattern<Char>::MatchesAt(const Char* at) const {
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (static_cast<Char>(at[i] | orBits_[i]) != elements_[i]) return false;
  }
  return true;
}

// The prefilter tests, sixteen starts at a time, the first and the last
// element of the pattern; only starts that pass both are checked whole. Two
// elements far apart rarely pass together by chance, so on ordinary text
// almost every block is dismissed by two loads, two or-compares and an and.
// Starts that a whole block of sixteen would carry past the text's end go
// one by one, so no load leaves the text.
template <class Char>
size_t MaskedPattern<Char>::Find(const Char* text, size_t from, size_t end) const {
  if constexpr (sizeof(Char) == 1) {
    return Find(text, from, end, ProcessorWidePairScan());
  } else {
    return Find(text, from, end, nullptr);
  }
}

// Bytes go 64 starts at a time where the processor can, up to the last
// whole block; the rest as below.
template <class Char>
size_t MaskedPattern<Char>::Find(const Char* text, size_t from, size_t end,
                                 WidePairScan wide) const {
  const size_t length = elements_.size();
  if (length == 0 || end < length || from > end - length) return npos;
  const size_t lastStart = end - length;
  const size_t back = length - 1;
  size_t at = from;
  if constexpr (sizeof(Char) == 1) {
    if (wide != nullptr) {
      const MaskedPair pair{orBits_[0], elements_[0], orBits_[back], elements_[back], back};
      for (;;) {
        const PairBlock block = wide(text, at, lastStart, pair);
        at = block.at;
        if (block.passing == 0) break;
        for (uint64_t passing = block.passing; passing != 0; passing &= passing - 1) {
          const size_t start = at + static_cast<size_t>(std::countr_zero(passing));
          if (MatchesAt(text + start)) return start;
        }
        at += 64;
      }
    }
  }
  const LaneTest<Char> first(orBits_[0], elements_[0]);
  const LaneTest<Char> last(orBits_[back], elements_[back]);
  for (; at + (kLanes - 1) <= lastStart; at += kLanes) {
    uint32_t candidates = first(text + at) & last(text + at + back);
    while (candidates != 0) {
      const size_t start = at + static_cast<size_t>(std::countr_zero(candidates));
      if (MatchesAt(text + start)) return start;
      candidates &= candidates - 1;
    }
  }
  for (; at <= lastStart; ++at) {
    if (MatchesAt(text + at)) return at;
  }
  return npos;
}

template class MaskedPattern<char>;
template class MaskedPattern<char16_t>;

}  // namespace qm
