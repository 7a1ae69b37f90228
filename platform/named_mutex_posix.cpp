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

SharedMutex* MutexOf(NamedObject* object) { return reinterpret_cast<SharedMutex*>(object->base); }

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

WaitResult WaitForMutexObject(NamedObject* mutex, uint32_t timeoutMs, NamedObjectStatus* status) {
  const timespec deadline = DeadlineAfter(timeoutMs);
  const int result = pthread_mutex_clocklock(&MutexOf(mutex)->mutex, CLOCK_MONOTONIC, &deadline);
  switch (result) {
    case 0:
      return WaitResult::kAcquired;
    case EOWNERDEAD:
      // Ownership is granted. Marking the mutex consistent at once keeps it
      // usable: unlocking it without that would make it unrecoverable.
      pthread_mutex_consistent(&MutexOf(mutex)->mutex);
      return WaitResult::kAbandoned;
    case ETIMEDOUT:
      return WaitResult::kTimeout;
    default:
      *status = {NamedObjectError::kWaitMutex, result};
      return WaitResult::kFailed;
  }
}

NamedObjectStatus ReleaseMutexObject(NamedObject* mutex) {
  const int result = pthread_mutex_unlock(&MutexOf(mutex)->mutex);
  if (result != 0) return {NamedObjectError::kReleaseMutex, result};
  return {};
}

// Only the owning thread changes the count (atomic for the table, which
// reads it from any thread), so no lock is taken.
void AddMutexOwnership(NamedObject* mutex, bool abandoned) {
  if (abandoned) {
    mutex->ownedDepth = 1;
  } else {
    ++mutex->ownedDepth;
  }
}

void DropMutexOwnership(NamedObject* mutex) { --mutex->ownedDepth; }

}  // namespace qm::platform
