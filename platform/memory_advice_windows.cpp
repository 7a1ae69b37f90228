// Windows gives ordinary memory no large pages after the fact: they must be
// asked for when the memory is allocated (VirtualAlloc with MEM_LARGE_PAGES,
// under the lock-pages privilege), so the hint has nothing to do.
#include "platform/memory_advice.h"

namespace qm::platform {

void PreferLargePages(void* /*begin*/, size_t /*bytes*/) {}

}  // namespace qm::platform
