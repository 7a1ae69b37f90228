// The editor registry's named objects and the lock that every registry
// operation takes on them.
//
// The segment "Global\Quillmarsh.Editor" (1 MiB) holds the list: at offset 0
// the block length N (unsigned 64-bit, little-endian), from offset 8 the
// record block of N bytes (editor_map_format.h), then bytes of no meaning.
// The mutex "A3F0721BE54C4b1e8D27F96C0B4E1D55" orders all access to it.
//
// An operation builds a RegistryLock, locks, works on its editors, unlocks
// with or without write-back, and drops the lock. Nothing of the registry is
// cached between calls: every lock maps, reads and parses afresh.
#ifndef QMPECORE_REGISTRY_REGISTRY_LOCK_H_
#define QMPECORE_REGISTRY_REGISTRY_LOCK_H_

#include <cstddef>
#include <cstdint>

#include "platform/named_objects.h"
#include "qmpecore/editor_map.h"

namespace qm {

inline constexpr char16_t kRegistrySegmentName[] = u"Global\\Quillmarsh.Editor";
inline constexpr char16_t kRegistryMutexName[] = u"A3F0721BE54C4b1e8D27F96C0B4E1D55";
inline constexpr size_t kRegistrySegmentSize = 0x100000;
inline constexpr size_t kBlockOffset = 8;
// The largest block that fits behind its length: 1,048,568 bytes.
inline constexpr uint64_t kLargestBlock = kRegistrySegmentSize - kBlockOffset;
inline constexpr uint32_t kRegistryWaitMs = 1000;

// One call's hold on the registry. Constructing it gives null handles and an
// empty list. The hold belongs to the object: destroying it while it still
// holds the lock (an exception left the call between LockRegistry and
// UnlockRegistry, or inside either) unmaps the view and releases the mutex
// without writing back, so no way out of a call leaves the mutex owned. It
// never closes handles.
struct RegistryLock {
  RegistryLock() = default;
  ~RegistryLock();
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;

  platform::NamedHandle mutex = nullptr;    // set only while this thread owns it
  platform::NamedHandle mapping = nullptr;  // obtained by this call
  uint8_t* view = nullptr;                  // the whole segment
  size_t viewSize = 0;                      // nothing is read or written past it
  EditorMap editors;
};

// Opens the segment (or, with `create`, creates it when missing), takes the
// mutex with one wait of at most 1000 ms and reads the list into
// lock->editors. True when the mutex is held and the view mapped. Opening
// each object waits at most as long for other processes opening or closing
// it, and fails the call like a timed-out wait when they take longer.
//
// Handles obtained by a call that then fails stay open for the life of the
// process, like those of a call that leaves the list non-empty (see
// UnlockRegistry), except those of a call that made the segment: it closes
// them again, so the registry is missing rather than never written.
// Beyond that:
// - A segment never written (N below 9) fails every call but the one that
//   found no segment and made it: to that call it is an empty list. A call
//   it fails closes its handles, so that they do not keep it.
// - A creating call that finds the segment or the mutex made by another
//   process meanwhile waits for the mutex and reads the list like any
//   opener.
// - After an abandoned wait (the last owner died holding the mutex), the
//   call goes on, but a block that is not whole (a writer killed in the
//   middle of a write-back) is replaced by an empty list, so that no entry
//   with a cut key is ever read.
// - A block length that reaches past the segment reads as an empty list.
bool LockRegistry(RegistryLock* lock, bool create);

// Writes the list back when `writeBack` (unless the block would exceed
// 1,048,568 bytes: then the change is lost), unmaps the view and releases
// the mutex. When the list is left empty, the call's mapping and mutex
// handles are closed; otherwise they stay open for the life of the process
// and keep the registry alive. False when the lock was not held.
bool UnlockRegistry(RegistryLock* lock, bool writeBack);

}  // namespace qm

#endif  // QMPECORE_REGISTRY_REGISTRY_LOCK_H_
