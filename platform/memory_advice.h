// Hints to the OS about how memory will be used. A hint never changes what
// the memory holds; where the OS has no such hint it does nothing.
#ifndef QMPECORE_PLATFORM_MEMORY_ADVICE_H_
#define QMPECORE_PLATFORM_MEMORY_ADVICE_H_

#include <cstddef>

namespace qm::platform {

// The large pages that the advice below aims at (those of x86-64). Storage
// meant for them starts on a multiple of this and spans whole ones.
inline constexpr size_t kLargePageBytes = size_t{2} << 20;

// Asks that the untouched memory [begin, begin + bytes), about to be
// written from start to end, be backed by large pages: one fault per large
// page instead of one per small page, which on some machines (virtual ones
// above all) is most of the cost of filling new memory. Only whole large
// pages inside the range are affected.
void PreferLargePages(void* begin, size_t bytes);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_MEMORY_ADVICE_H_
