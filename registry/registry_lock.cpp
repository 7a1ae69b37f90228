#include "registry/registry_lock.h"

#include <atomic>
#include <cstring>
#include <string>
#include <utility>

#include "registry/editor_map_format.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

using platform::NamedHandle;

uint64_t ReadBlockLength(const uint8_t* view) {
  uint64_t length = 0;
  for (int i = 7; i >= 0; --i) length = (length << 8) | view[i];
  return length;
}

void StoreBlockLength(uint8_t* view, uint64_t length) {
  // Keeps the compiler from moving the length across the block's bytes.
  std::atomic_signal_fence(std::memory_order_seq_cst);
  for (int i = 0; i < 8; ++i) view[i] = static_cast<uint8_t>(length >> (8 * i));
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

// The length reads 0 while the block's bytes change, so a writer killed
// half-way leaves a block that reads as never written, not a torn one.
void WriteBack(const RegistryLock& lock) {
  std::string block;
  SerializeEditorMap(&lock, &block);
  if (block.size() > kLargestBlock || block.size() > lock.viewSize - kBlockOffset) return;
  StoreBlockLength(lock.view, 0);
  std::memcpy(lock.view + kBlockOffset, block.data(), block.size());
  StoreBlockLength(lock.view, block.size());
  platform::FlushNamedView(lock.view, kBlockOffset + block.size());
}

// Reads the list of a segment whose mutex this thread now owns. A segment
// never written (N below 9) fails the call, which closes its handles,
// unless the call found no segment and made one (`creating`): to it the
// segment is the empty list it is about to write.
//
// `recovering`: the mutex's last owner died holding it (the wait was
// abandoned). A block that is not whole is then replaced by the empty
// list, so no cut key is ever read.
bool ReadOwned(RegistryLock* lock, NamedHandle mutex, bool creating, bool recovering) {
  platform::NamedView view;
  if (!platform::MapNamedView(lock->mapping, &view).ok() || view.size < kBlockOffset) {
    if (view.base != nullptr) platform::UnmapNamedView(view.base);
    platform::ReleaseNamedMutex(mutex);
    return false;
  }
  const uint64_t length = ReadBlockLength(view.base);
  const uint8_t* block = view.base + kBlockOffset;
  const bool fits = length <= view.size - kBlockOffset;
  if (length < kSmallestBlock && !creating && !recovering) {
    // This call's handles go: kept, they would hold a segment that no call
    // can use alive for as long as this process runs, even once its
    // creator has died.
    platform::UnmapNamedView(view.base);
    platform::ReleaseNamedMutex(mutex);
    platform::CloseNamedHandle(mutex);
    platform::CloseNamedHandle(lock->mapping);
    lock->mapping = nullptr;
    return false;
  }
  lock->mutex = mutex;
  lock->view = view.base;
  lock->viewSize = view.size;
  if (recovering && !(fits && IsWholeBlock(block, length))) {
    WriteBack(*lock);  // the empty list in place of a torn one
  } else if (length >= kSmallestBlock && fits) {
    ParseEditorMap(block, length, lock);
  }
  return true;
}

bool WaitAndRead(RegistryLock* lock, NamedHandle mutex, bool creating) {
  platform::NamedObjectStatus status;
  const platform::WaitResult wait = platform::WaitForNamedMutex(mutex, kRegistryWaitMs, &status);
  if (wait != platform::WaitResult::kAcquired && wait != platform::WaitResult::kAbandoned) {
    return false;
  }
  return ReadOwned(lock, mutex, creating, wait == platform::WaitResult::kAbandoned);
}

// The segment exists, so whatever this call does, it did not make it: a
// mutex made afresh here is waited for and the list read by the same rules.
bool LockOpened(RegistryLock* lock) {
  NamedHandle mutex = nullptr;
  bool existed = false;
  if (!platform::CreateNamedMutex(kRegistryMutexName, false, kRegistryWaitMs, &mutex,
                                  &existed).ok()) return false;
  return WaitAndRead(lock, mutex, false);
}

bool LockCreated(RegistryLock* lock) {
  NamedHandle mapping = nullptr;
  bool mappingExisted = false;  // made by another creating call meanwhile
  if (!platform::CreateNamedMapping(kRegistrySegmentName, kRegistrySegmentSize, kRegistryWaitMs,
                                    &mapping, &mappingExisted)
           .ok()) {
    TraceText(u"Application: Failed to create shared memory.\n");
    return false;
  }
  lock->mapping = mapping;
  // A segment made here and never written would fail every later call
  // while this process keeps it; so a call that cannot go on gives up what
  // it made, and the registry is missing again, as before the call.
  const auto undo = [&](NamedHandle mutex) {
    if (mappingExisted) return false;
    if (mutex != nullptr) platform::CloseNamedHandle(mutex);
    platform::CloseNamedHandle(mapping);
    lock->mapping = nullptr;
    return false;
  };
  NamedHandle mutex = nullptr;
  bool mutexExisted = false;
  if (!platform::CreateNamedMutex(kRegistryMutexName, true, kRegistryWaitMs, &mutex,
                                  &mutexExisted).ok()) {
    return undo(nullptr);
  }
  // Another process made the mutex first: it is not ours until we wait.
  if (mutexExisted) return WaitAndRead(lock, mutex, true);
  return ReadOwned(lock, mutex, true, false) || undo(mutex);
}

}  // namespace

bool LockRegistry(RegistryLock* lock, bool create) {
  lock->mutex = nullptr;
  lock->mapping = nullptr;
  lock->view = nullptr;
  lock->viewSize = 0;
  lock->editors.clear();
  NamedHandle mapping = nullptr;
  const platform::NamedObjectStatus opened =
      platform::OpenNamedMapping(kRegistrySegmentName, kRegistryWaitMs, &mapping);
  if (opened.ok()) {
    lock->mapping = mapping;
    return LockOpened(lock);
  }
  // Only a missing segment is made; after any other failure (a timed-out
  // wait above all) creating would only fail again, or wait again.
  return create && opened.error == platform::NamedObjectError::kNotFound && LockCreated(lock);
}

RegistryLock::~RegistryLock() {
  if (view != nullptr) platform::UnmapNamedView(view);
  if (mutex != nullptr) platform::ReleaseNamedMutex(mutex);
}

bool UnlockRegistry(RegistryLock* lock, bool writeBack) {
  if (lock->mapping == nullptr || lock->view == nullptr) return false;
  if (writeBack) WriteBack(*lock);  // may throw: the lock's destructor then lets go
  const bool empty = lock->editors.empty();
  platform::UnmapNamedView(lock->view);
  lock->view = nullptr;
  const platform::NamedHandle mutex = std::exchange(lock->mutex, nullptr);
  platform::ReleaseNamedMutex(mutex);
  if (empty) {
    platform::CloseNamedHandle(lock->mapping);
    platform::CloseNamedHandle(mutex);
  }
  return true;
}

}  // namespace qm
