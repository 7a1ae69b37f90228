// Named kernel objects shared by the processes of one user: a mapping (a
// block of shared memory) and a mutex, each found by its name. They behave
// as the Windows kernel's named objects do, whatever the platform:
//
// - An object exists exactly as long as some process holds a handle to it
//   or (for a mapping) a view of it. When the last one is closed, or the
//   last holder dies, the object is gone and the next open finds nothing;
//   the next create starts it afresh, zero-filled.
// - A mutex is owned by a thread and is recursive. When its owner dies, or
//   its owning thread ends, holding it, the next wait is granted ownership
//   and reports kAbandoned.
// - Every handle or view that a call hands out must be given back once
//   (CloseNamedHandle, UnmapNamedView). Handles are counted references:
//   several handles of one object may have the same value.
//
// Failures name the step that failed and keep the system's error number
// (errno on POSIX, GetLastError on Windows).
#ifndef QMPECORE_PLATFORM_NAMED_OBJECTS_H_
#define QMPECORE_PLATFORM_NAMED_OBJECTS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm::platform {

enum class NamedObjectError : uint8_t {
  kNone = 0,
  kNotFound,       // open only: no such object (or one that all its holders left)
  kBadName,        // empty, or too long for the system
  kBadHandle,      // null, or a handle of the other kind of object
  kFolder,         // the folder that holds the objects cannot be made or opened
  kNotOurs,        // an object (or its folder) belongs to another user or
                   // others may use it: refused rather than used
  kBadObject,      // an existing object is not of the expected form
  kLockFile,       // the lock that orders creation cannot be opened or taken
  kOpenObject,     // opening or creating the object failed
  kResizeObject,   // giving a new object its size failed
  kHoldObject,     // registering this process as a holder failed
  kMapObject,      // mapping the object into memory failed
  kOutOfMemory,    // no memory for this process's record of the object
  kInitMutex,      // a new mutex could not be set up
  kWaitMutex,      // the wait failed (not a time-out)
  kReleaseMutex,   // the calling thread does not own the mutex
  kUnmapView,      // the address is not a view handed out here
  kFlushView,      // flushing a view failed
};

struct NamedObjectStatus {
  NamedObjectError error = NamedObjectError::kNone;
  int systemError = 0;

  bool ok() const { return error == NamedObjectError::kNone; }
};

// Opaque; null is never a valid handle.
struct NamedObject;
using NamedHandle = NamedObject*;

// A view of a whole mapping: its base address and its size in bytes.
struct NamedView {
  uint8_t* base = nullptr;
  size_t size = 0;
};

enum class WaitResult : uint8_t {
  kAcquired,   // the calling thread owns the mutex
  kAbandoned,  // it owns it, and the previous owner ended without releasing
  kTimeout,    // not owned: the time ran out
  kFailed,     // not owned: see the status
};

// Opening and creating wait at most `lockWaitMs` for other processes that
// are opening or closing the same object (a backend that orders them with a
// lock of its own: POSIX); past it they fail with kLockFile. The object's
// last close in this process waits as long, and when the time runs out
// leaves the object to be cleared away by the next open.

// Opens an existing mapping; kNotFound when there is none.
NamedObjectStatus OpenNamedMapping(std::u16string_view name, uint32_t lockWaitMs,
                                   NamedHandle* mapping);

// Creates a zero-filled mapping of `size` bytes, or opens the existing one
// (keeping its size) and sets *existed.
NamedObjectStatus CreateNamedMapping(std::u16string_view name, size_t size, uint32_t lockWaitMs,
                                     NamedHandle* mapping, bool* existed);

// Maps the whole mapping. Views of one mapping share one address in a
// process, and the memory stays valid until the view is unmapped.
NamedObjectStatus MapNamedView(NamedHandle mapping, NamedView* view);
NamedObjectStatus UnmapNamedView(const void* base);

// Makes the first `bytes` of a view durable as far as the mapping's backing
// allows (shared memory has nothing further to reach).
NamedObjectStatus FlushNamedView(const void* base, size_t bytes);

// Creates a mutex, owned by the calling thread when initiallyOwned, or
// opens the existing one (never taking ownership) and sets *existed.
NamedObjectStatus CreateNamedMutex(std::u16string_view name, bool initiallyOwned,
                                   uint32_t lockWaitMs, NamedHandle* mutex, bool* existed);

// One wait of at most `timeoutMs` milliseconds.
WaitResult WaitForNamedMutex(NamedHandle mutex, uint32_t timeoutMs, NamedObjectStatus* status);

// Gives up one level of the calling thread's ownership.
NamedObjectStatus ReleaseNamedMutex(NamedHandle mutex);

// Gives back one handle. Closing the last handle of a mutex that a thread of
// this process still owns keeps the mutex until its owner ends.
void CloseNamedHandle(NamedHandle handle);

// The handle as a number, meaningful only inside this process (0 for null).
int32_t NamedHandleValue(NamedHandle handle);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_NAMED_OBJECTS_H_
