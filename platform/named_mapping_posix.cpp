// Named mappings on POSIX: an object file in the per-user folder, mapped
// whole once per process (see named_object_posix.h).
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/named_object_posix.h"

namespace qm::platform {
namespace {

NamedObjectStatus AcquireMapping(std::u16string_view name, bool create, size_t size,
                                 NamedHandle* mapping, bool* created) {
  NamedObjectRequest request;
  request.kind = NamedObjectKind::kMapping;
  request.name = name;
  request.create = create;
  request.size = size;
  return AcquireNamedObject(request, mapping, created);
}

}  // namespace

NamedObjectStatus OpenNamedMapping(std::u16string_view name, NamedHandle* mapping) {
  bool created = false;
  return AcquireMapping(name, false, 0, mapping, &created);
}

NamedObjectStatus CreateNamedMapping(std::u16string_view name, size_t size,
                                     NamedHandle* mapping, bool* existed) {
  bool created = false;
  NamedObjectStatus status = AcquireMapping(name, true, size, mapping, &created);
  if (status.ok()) *existed = !created;
  return status;
}

NamedObjectStatus MapNamedView(NamedHandle mapping, NamedView* view) {
  if (mapping == nullptr || mapping->kind != NamedObjectKind::kMapping) {
    return {NamedObjectError::kBadHandle, EINVAL};
  }
  AddNamedObjectReference(mapping);
  view->base = mapping->base;
  view->size = mapping->size;
  return {};
}

NamedObjectStatus UnmapNamedView(const void* base) {
  NamedObject* mapping = FindNamedObjectAt(base);
  if (mapping == nullptr || mapping->kind != NamedObjectKind::kMapping) {
    return {NamedObjectError::kUnmapView, EINVAL};
  }
  ReleaseNamedObjectReference(mapping);
  return {};
}

NamedObjectStatus FlushNamedView(const void* base, size_t bytes) {
  const auto pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto address = reinterpret_cast<uintptr_t>(base);
  const uintptr_t start = address - address % pageSize;
  if (msync(reinterpret_cast<void*>(start), bytes + (address - start), MS_SYNC) != 0) {
    return {NamedObjectError::kFlushView, errno};
  }
  return {};
}

}  // namespace qm::platform
