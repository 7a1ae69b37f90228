// The system calls through which the POSIX backend changes files: one
// table per process, every entry the system's own unless replaced. A test
// replaces entries to fail the Nth write, sync or rename of a save as a
// full disk would, or to record the order of the calls (SQLite's unix VFS
// lets its own system calls be replaced the same way). The calls that only
// read stay direct.
//
// Each library carries its own copy of the platform layer; SystemCalls()
// is exported from each that uses it, so the dynamic linker binds every
// copy's calls to the first one loaded and the process has a single table
// (libqmpecore.so's version script keeps its copy to itself).
#ifndef QMPECORE_PLATFORM_SYSTEM_CALLS_POSIX_H_
#define QMPECORE_PLATFORM_SYSTEM_CALLS_POSIX_H_

#include <sys/types.h>

#include <cstddef>

namespace qm::platform {

// Each entry behaves as the system call of its comment: -1 and errno on
// failure, except `reserve`, which answers the error number as
// posix_fallocate does.
struct PosixSystemCalls {
  int (*openFile)(const char* path, int flags, mode_t mode);             // open
  int (*openAt)(int folder, const char* path, int flags, mode_t mode);   // openat
  ssize_t (*writeFile)(int fd, const void* bytes, size_t count);         // write
  int (*syncFile)(int fd);                                               // fsync
  int (*changeMode)(int fd, mode_t mode);                                // fchmod
  int (*renameFile)(const char* from, const char* to);                   // rename
  int (*linkFile)(const char* existing, const char* newName);            // link
  int (*unlinkFile)(const char* path);                                   // unlink
  int (*makeFolder)(const char* path, mode_t mode);                      // mkdir
  int (*reserve)(int fd, off_t offset, off_t length);                    // posix_fallocate
  int (*syncMapping)(void* address, size_t length, int flags);           // msync
};

// The process's table. A test that replaces entries keeps a copy of the
// table to call through and to put back.
__attribute__((visibility("default"))) PosixSystemCalls& SystemCalls();

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_SYSTEM_CALLS_POSIX_H_
