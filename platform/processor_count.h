// How many processors this process may run on: the width of a pool of
// workers that should keep every core busy and no more.
#ifndef QMPECORE_PLATFORM_PROCESSOR_COUNT_H_
#define QMPECORE_PLATFORM_PROCESSOR_COUNT_H_

#include <cstddef>

namespace qm::platform {

// At least 1. Counts the processors the process is allowed to use (its
// affinity), not those the machine has, so that a process confined to a
// few cores starts no more workers than it can run at once.
size_t UsableProcessorCount();

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_PROCESSOR_COUNT_H_
