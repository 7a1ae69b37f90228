#include <sys/mman.h>

#include <cstdint>

#include "platform/memory_advice.h"

namespace qm::platform {

void PreferLargePages(void* begin, size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kLargePage = kLargePageBytes;
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = (start + bytes) & ~(kLargePage - 1);
  // Advice is best effort: a kernel without transparent huge pages refuses
  // it, and the memory then simply stays on small pages.
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)begin;
  (void)bytes;
#endif
}

}  // namespace qm::platform
