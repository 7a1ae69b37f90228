#include "find/files/line_breaks.h"

#include <bit>

#include "find/simd_lanes.h"

namespace qm {
namespace {

template <class Char>
struct BreakTests {
  LaneTest<Char> isCr{0, Char('\r')};
  LaneTest<Char> isLf{0, Char('\n')};
  uint32_t operator()(const Char* block) const { return isCr(block) | isLf(block); }
};

}  // namespace

template <class Char>
size_t FindBreak(const Char* text, size_t from, size_t end) {
  const BreakTests<Char> tests;
  size_t i = from;
  for (; i + kLanes <= end; i += kLanes) {
    if (const uint32_t found = tests(text + i))
      return i + static_cast<size_t>(std::countr_zero(found));
  }
  for (; i < end; ++i) {
    if (IsBreakUnit(text[i])) return i;
  }
  return end;
}

template <class Char>
size_t FindLastBreak(const Char* text, size_t from, size_t end) {
  const BreakTests<Char> tests;
  size_t i = end;
  while (i - from >= kLanes) {
    i -= kLanes;
    if (const uint32_t found = tests(text + i))
      return i + static_cast<size_t>(std::bit_width(found)) - 1;
  }
  while (i > from) {
    --i;
    if (IsBreakUnit(text[i])) return i;
  }
  return SIZE_MAX;
}

template size_t FindBreak(const char*, size_t, size_t);
template size_t FindBreak(const char16_t*, size_t, size_t);
template size_t FindLastBreak(const char*, size_t, size_t);
template size_t FindLastBreak(const char16_t*, size_t, size_t);

}  // namespace qm
