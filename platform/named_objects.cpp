// The front end of named_objects.h, the same on every platform: it turns
// each call into a request to the backend (named_object_backend.h) and
// refuses a handle of the wrong kind before the backend sees it.
#include "platform/named_objects.h"

#include "platform/named_object_backend.h"

namespace qm::platform {
namespace {

bool IsHandleOf(NamedObjectKind kind, NamedHandle handle) {
  return handle != nullptr && KindOfNamedObject(handle) == kind;
}

NamedObjectStatus BadHandle() { return {NamedObjectError::kBadHandle, kBadHandleSystemError}; }

// Opens the object, or creates it when there is none; *existed tells which.
NamedObjectStatus CreateOrOpen(const NamedObjectRequest& request, NamedHandle* object, bool* existed) {
  bool created = false;
  NamedObjectStatus status = AcquireNamedObject(request, object, &created);
  if (status.ok()) *existed = !created;
  return status;
}

}  // namespace

NamedObjectStatus OpenNamedMapping(std::u16string_view name, uint32_t lockWaitMs,
                                   NamedHandle* mapping) {
  bool created = false;
  return AcquireNamedObject(
      {.kind = NamedObjectKind::kMapping, .name = name, .lockWaitMs = lockWaitMs}, mapping,
      &created);
}

NamedObjectStatus CreateNamedMapping(std::u16string_view name, size_t size, uint32_t lockWaitMs,
                                     NamedHandle* mapping, bool* existed) {
  return CreateOrOpen({.kind = NamedObjectKind::kMapping,
                       .name = name,
                       .create = true,
                       .size = size,
                       .lockWaitMs = lockWaitMs},
                      mapping, existed);
}

NamedObjectStatus MapNamedView(NamedHandle mapping, NamedView* view) {
  if (!IsHandleOf(NamedObjectKind::kMapping, mapping)) return BadHandle();
  return AddNamedView(mapping, view);
}

NamedObjectStatus UnmapNamedView(const void* base) {
  if (!ReleaseNamedView(base)) return {NamedObjectError::kUnmapView, kBadViewSystemError};
  return {};
}

NamedObjectStatus CreateNamedMutex(std::u16string_view name, bool initiallyOwned,
                                   uint32_t lockWaitMs, NamedHandle* mutex, bool* existed) {
  return CreateOrOpen({.kind = NamedObjectKind::kMutex,
                       .name = name,
                       .create = true,
                       .initiallyOwned = initiallyOwned,
                       .lockWaitMs = lockWaitMs},
                      mutex, existed);
}

WaitResult WaitForNamedMutex(NamedHandle mutex, uint32_t timeoutMs, NamedObjectStatus* status) {
  *status = {};
  if (!IsHandleOf(NamedObjectKind::kMutex, mutex)) {
    *status = BadHandle();
    return WaitResult::kFailed;
  }
  const WaitResult result = WaitForMutexObject(mutex, timeoutMs, status);
  // An abandoned mutex starts afresh: its dead owner's levels went with it.
  if (result == WaitResult::kAcquired || result == WaitResult::kAbandoned) {
    AddMutexOwnership(mutex, result == WaitResult::kAbandoned);
  }
  return result;
}

NamedObjectStatus ReleaseNamedMutex(NamedHandle mutex) {
  if (!IsHandleOf(NamedObjectKind::kMutex, mutex)) return BadHandle();
  const NamedObjectStatus status = ReleaseMutexObject(mutex);
  if (status.ok()) DropMutexOwnership(mutex);
  return status;
}

}  // namespace qm::platform
