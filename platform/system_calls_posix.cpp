#include "platform/system_calls_posix.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace qm::platform {
namespace {

// open and openat take their mode through "...", which a pointer to them
// cannot forward.
int OpenFile(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int OpenAt(int folder, const char* path, int flags, mode_t mode) {
  return ::openat(folder, path, flags, mode);
}

}  // namespace

PosixSystemCalls& SystemCalls() {
  static PosixSystemCalls calls = {
      OpenFile, OpenAt,   ::write, ::fsync, ::fchmod,          ::rename,
      ::link,   ::unlink, ::mkdir, ::posix_fallocate, ::msync,
  };
  return calls;
}

}  // namespace qm::platform
