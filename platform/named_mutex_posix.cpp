// Named mutexes on POSIX: a process-shared, robust, recursive pthread mutex
// in its own small object (see named_object_posix.h). Robustness gives the
// abandoned report: when the owning thread ends holding the mutex, the
// kernel hands it to the next waiter with EOWNERDEAD.
#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <cstdint>

#include "platform/named_object_posix.h"

namespace qm::platform {
namespace {

constexpr uint32_t kMutexMagic = 0x584d4d51;  // "QMMX"

struct SharedMutex {
  uint32_t magic;
  pthread_mutex_t mutex;
};

SharedMutex* MutexOf(NamedHandle handle) { return reinterpret_cast<SharedMutex*>(handle->base); }

bool IsMutexHandle(NamedHandle handle) {
  return handle != nullptr && handle->kind == NamedObjectKind::kMutex;
}

int SetUpAttributes(pthread_mutexattr_t* attributes) {
  int result = pthread_mutexattr_setpshared(attributes, PTHREAD_PROCESS_SHARED);
  if (result == 0) result = pthread_mutexattr_setrobust(attributes, PTHREAD_MUTEX_ROBUST);
  if (result == 0) result = pthread_mutexattr_settype(attributes, PTHREAD_MUTEX_RECURSIVE);
  return result;
}

timespec DeadlineAfter(uint32_t milliseconds) {
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  const int64_t nanoseconds =
      deadline.tv_nsec + static_cast<int64_t>(milliseconds % 1000) * 1000000;
  deadline.tv_sec += static_cast<time_t>(milliseconds / 1000 + nanoseconds / 1000000000);
  deadline.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
  return deadline;
}

}  // namespace

size_t SharedMutexSize() { return sizeof(SharedMutex); }

NamedObjectStatus InitSharedMutex(uint8_t* base, bool owned) {
  auto* shared = reinterpret_cast<SharedMutex*>(base);
  pthread_mutexattr_t attributes;
  int result = pthread_mutexattr_init(&attributes);
  if (result != 0) return {NamedObjectError::kInitMutex, result};
  result = SetUpAttributes(&attributes);
  if (result == 0) result = pthread_mutex_init(&shared->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
  // A mutex nobody else can see yet is free: the lock is granted at once.
  if (result == 0 && owned) result = pthread_mutex_trylock(&shared->mutex);
  if (result != 0) return {NamedObjectError::kInitMutex, result};
  shared->magic = kMutexMagic;
  return {};
}

bool IsSharedMutex(const uint8_t* base, size_t size) {
  return size >= sizeof(SharedMutex) &&
         reinterpret_cast<const SharedMutex*>(base)->magic == kMutexMagic;
}

NamedObjectStatus CreateNamedMutex(std::u16string_view name, bool initiallyOwned,
                                   NamedHandle* mutex, bool* existed) {
  NamedObjectRequest request;
  request.kind = NamedObjectKind::kMutex;
  request.name = name;
  request.create = true;
  request.size = SharedMutexSize();
  request.initiallyOwned = initiallyOwned;
  bool created = false;
  NamedObjectStatus status = AcquireNamedObject(request, mutex, &created);
  if (status.ok()) *existed = !created;
  return status;
}

WaitResult WaitForNamedMutex(NamedHandle mutex, uint32_t timeoutMs, NamedObjectStatus* status) {
  *status = {};
  if (!IsMutexHandle(mutex)) {
    *status = {NamedObjectError::kBadHandle, EINVAL};
    return WaitResult::kFailed;
  }
  const timespec deadline = DeadlineAfter(timeoutMs);
  const int result = pthread_mutex_clocklock(&MutexOf(mutex)->mutex, CLOCK_MONOTONIC, &deadline);
  switch (result) {
    case 0:
      ++mutex->ownedDepth;
      return WaitResult::kAcquired;
    case EOWNERDEAD:
      // Ownership is granted. Marking the mutex consistent at once keeps it
      // usable: unlocking it without that would make it unrecoverable. The
      // dead owner's levels of recursion are gone with it.
      pthread_mutex_consistent(&MutexOf(mutex)->mutex);
      mutex->ownedDepth = 1;
      return WaitResult::kAbandoned;
    case ETIMEDOUT:
      return WaitResult::kTimeout;
    default:
      *status = {NamedObjectError::kWaitMutex, result};
      return WaitResult::kFailed;
  }
}

NamedObjectStatus ReleaseNamedMutex(NamedHandle mutex) {
  if (!IsMutexHandle(mutex)) return {NamedObjectError::kBadHandle, EINVAL};
  const int result = pthread_mutex_unlock(&MutexOf(mutex)->mutex);
  if (result != 0) return {NamedObjectError::kReleaseMutex, result};
  --mutex->ownedDepth;
  return {};
}

}  // namespace qm::platform
