// The find flags of the exports (QmFindFlags) as the find's options.
#ifndef QMPECORE_CORE_FIND_FLAGS_H_
#define QMPECORE_CORE_FIND_FLAGS_H_

#include <cstdint>

#include "find/find_options.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {

inline constexpr int32_t kKnownFindFlags =
    kQmFindMatchCase | kQmFindWholeWord | kQmFindRegex | kQmFindThreadsMask;

inline bool FlagsKnown(int32_t flags) { return (flags & ~kKnownFindFlags) == 0; }

// The thread count that the flags carry (0: one per processor).
inline uint32_t FileWorkersOf(int32_t flags) {
  return static_cast<uint32_t>((flags & kQmFindThreadsMask) >> kQmFindThreadsShift);
}

inline FindOptions OptionsOf(int32_t flags) {
  return {(flags & kQmFindMatchCase) != 0, (flags & kQmFindWholeWord) != 0,
          (flags & kQmFindRegex) != 0, FileWorkersOf(flags)};
}

}  // namespace qm

#endif  // QMPECORE_CORE_FIND_FLAGS_H_
