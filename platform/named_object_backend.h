// What each backend of named_objects.h provides to the front end that both
// share (named_objects.cpp). The front end turns the calls of that header
// into requests and refuses handles of the wrong kind; the backend keeps
// this process's records of open objects (its own NamedObject) and does the
// work on the system's objects.
#ifndef QMPECORE_PLATFORM_NAMED_OBJECT_BACKEND_H_
#define QMPECORE_PLATFORM_NAMED_OBJECT_BACKEND_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/named_objects.h"

namespace qm::platform {

enum class NamedObjectKind { kMapping, kMutex };

struct NamedObjectRequest {
  NamedObjectKind kind = NamedObjectKind::kMapping;
  std::u16string_view name;
  bool create = false;
  size_t size = 0;              // of a new mapping
  bool initiallyOwned = false;  // a new mutex
  uint32_t lockWaitMs = 0;      // see named_objects.h
};

// The process's table of open objects. Acquire returns the object with one
// more reference, opening or creating it when this process does not hold
// it yet; *created tells whether the object was made just now rather than
// found.
NamedObjectStatus AcquireNamedObject(const NamedObjectRequest& request, NamedObject** object,
                                     bool* created);

// The kind of a non-null handle.
NamedObjectKind KindOfNamedObject(const NamedObject* object);

// The system's error numbers that go with a caller's mistakes: a handle
// that is null or of the other kind, and an address that is no view.
extern const int kBadHandleSystemError;
extern const int kBadViewSystemError;

// The mapping's one view in this process (mapped when first asked for, where
// the backend does not map it on opening), with one more reference for it.
NamedObjectStatus AddNamedView(NamedObject* mapping, NamedView* view);
// Gives back the reference of the view at `base`; false when no mapping of
// this process has its view there.
bool ReleaseNamedView(const void* base);

// The system's wait and release of a mutex, on a handle known to be one.
WaitResult WaitForMutexObject(NamedObject* mutex, uint32_t timeoutMs, NamedObjectStatus* status);
NamedObjectStatus ReleaseMutexObject(NamedObject* mutex);

// The count of the levels of ownership that threads of this process hold on
// a mutex, which keeps its record while a handle is closed: one more for a
// granted wait (one in all for an abandoned one), one less for a release.
void AddMutexOwnership(NamedObject* mutex, bool abandoned);
void DropMutexOwnership(NamedObject* mutex);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_NAMED_OBJECT_BACKEND_H_
