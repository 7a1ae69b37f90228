// Named mappings on POSIX: an object file in the per-user folder, mapped
// whole once per process (see named_object_posix.h).
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/named_object_posix.h"
#include "platform/system_calls_posix.h"

namespace qm::platform {

NamedObjectStatus AddNamedView(NamedObject* mapping, NamedView* view) {
  AddNamedObjectView(mapping);
  view->base = mapping->base;
  view->size = mapping->size;
  return {};
}

bool ReleaseNamedView(const void* base) { return ReleaseNamedObjectViewAt(base); }

NamedObjectStatus FlushNamedView(const void* base, size_t bytes) {
  const auto pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto address = reinterpret_cast<uintptr_t>(base);
  const uintptr_t start = address - address % pageSize;
  if (SystemCalls().syncMapping(reinterpret_cast<void*>(start), bytes + (address - start),
                                MS_SYNC) != 0) {
    return {NamedObjectError::kFlushView, errno};
  }
  return {};
}

}  // namespace qm::platform
