// The inside of the POSIX backend of named_objects.h, shared by its files.
//
// Lifetime is kept by the kernel through flock(2): every process that holds
// an object holds one descriptor of its file with a shared lock on it, for
// as long as it holds any handle or view. Opening, creating and the last
// close of an object are ordered by an exclusive lock on the object's lock
// file. Under that lock, an exclusive lock on the object's file that can be
// taken at once means that no process holds it: on close the file is
// removed, on open it is stale (its holders died) and counts as missing.
#ifndef QMPECORE_PLATFORM_NAMED_OBJECT_POSIX_H_
#define QMPECORE_PLATFORM_NAMED_OBJECT_POSIX_H_

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/named_object_backend.h"
#include "platform/named_object_files.h"

namespace qm::platform {

// One named object open in this process: one descriptor and one memory map
// of the whole file, shared by all its handles and views.
struct NamedObject {
  NamedObjectKind kind = NamedObjectKind::kMapping;
  std::string folder;
  std::string fileName;
  // The process that opened it. A child made by fork inherits the table
  // but shares the parent's descriptors and with them its locks: it must
  // neither use nor end these objects, and opens its own.
  pid_t opener = 0;
  // The wait for the creation lock that its opener allowed, which the last
  // close allows too.
  uint32_t lockWaitMs = 0;
  int fd = -1;
  uint8_t* base = nullptr;
  size_t size = 0;
  // Handles plus views, and views alone; guarded by the table's lock. A
  // view is counted apart so that unmapping one view too many is refused
  // instead of giving up a handle's reference.
  size_t references = 0;
  size_t views = 0;
  // Mutexes: the levels of ownership that a thread of this process holds.
  // The memory of an owned mutex stays mapped (the thread's robust list
  // points into it).
  std::atomic<int> ownedDepth{0};
  NamedObject* next = nullptr;
};

// The process's table of open objects (named_object_table_posix.cpp), past
// what named_object_backend.h declares.
void ReleaseNamedObjectReference(NamedObject* object);
// One more view of a mapping.
void AddNamedObjectView(NamedObject* mapping);
// Gives back one view of the mapping mapped at `base`; false when no
// mapping is mapped there or all its views were given back.
bool ReleaseNamedObjectViewAt(const void* base);

// The files (named_object_files_posix.cpp).
// Opens the folder for the *at calls, after making it when `make` is set and
// it is missing, and checks that it is ours.
NamedObjectStatus OpenObjectFolder(const std::string& folder, bool make, int* dirFd);

// Holds an object's creation lock until destroyed. The lock file goes with
// the object it orders; a process that then finds its lock on a removed
// file takes the lock again, on the file now in place.
class CreationLock {
 public:
  CreationLock() = default;
  ~CreationLock();
  CreationLock(const CreationLock&) = delete;
  CreationLock& operator=(const CreationLock&) = delete;

  // Waits at most `waitMs` for another process's hold on the lock; past
  // it, fails with kLockFile and ETIMEDOUT.
  NamedObjectStatus Acquire(int dirFd, const std::string& fileName, uint32_t waitMs);
  // Removes the lock file while holding it: the object has ended.
  void RemoveFile();

 private:
  int fd_ = -1;
  int dirFd_ = -1;
  std::string name_;
};

struct HeldFile {
  int fd = -1;
  size_t size = 0;
  bool created = false;
};

// Under the creation lock: opens the object's live file, or, with `create`,
// makes a fresh one of `size` zero bytes in place of a missing or stale one;
// then takes the holder's shared lock.
NamedObjectStatus OpenHeldFile(int dirFd, const std::string& fileName, bool create, size_t size,
                               HeldFile* file);

// Under the creation lock: closes the holder's descriptor, removing the
// file first when no other process holds it. True when it was removed.
bool CloseHeldFile(int dirFd, const std::string& fileName, int fd);

// The mutex inside its object (named_mutex_posix.cpp).
size_t SharedMutexSize();
NamedObjectStatus InitSharedMutex(uint8_t* base, bool owned);
bool IsSharedMutex(const uint8_t* base, size_t size);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_NAMED_OBJECT_POSIX_H_
