// The platform layer's system calls counted by FullDisk (full_disk.h):
// while an object of this class lives, the writes, syncs, renames and
// links of the POSIX backend, and the folders, files and reservations that
// the named objects make, are counted, and the one FullDisk picks fails
// with ENOSPC. Syncs, renames and links are noted in FullDisk's log, by
// path.
#ifndef QMPECORE_TESTS_SUPPORT_FULL_DISK_POSIX_H_
#define QMPECORE_TESTS_SUPPORT_FULL_DISK_POSIX_H_

#include "platform/system_calls_posix.h"

namespace qm::testing {

class FullDiskCalls {
 public:
  FullDiskCalls();
  ~FullDiskCalls();
  FullDiskCalls(const FullDiskCalls&) = delete;
  FullDiskCalls& operator=(const FullDiskCalls&) = delete;

 private:
  platform::PosixSystemCalls saved_;
};

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_FULL_DISK_POSIX_H_
