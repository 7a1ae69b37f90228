#include "support/full_disk_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "support/full_disk.h"

namespace qm::testing {
namespace {

using platform::PosixSystemCalls;
using platform::SystemCalls;

// The table as it was before this test's entries: the calls pass on to it.
PosixSystemCalls g_next;

std::string PathOf(int fd) {
  char target[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t size = readlink(link.c_str(), target, sizeof target);
  return size > 0 ? std::string(target, static_cast<size_t>(size)) : "fd " + std::to_string(fd);
}

bool Fails(bool grows) {
  if (!FullDisk::Get().Fails(grows)) return false;
  errno = ENOSPC;
  return true;
}

ssize_t WriteFile(int fd, const void* bytes, size_t count) {
  if (Fails(true)) return -1;
  return g_next.writeFile(fd, bytes, count);
}
int SyncFile(int fd) {
  FullDisk::Get().Note("sync " + PathOf(fd));
  if (Fails(false)) return -1;
  return g_next.syncFile(fd);
}
int RenameFile(const char* from, const char* to) {
  FullDisk::Get().Note(std::string("rename ") + from + " " + to);
  if (Fails(false)) return -1;
  return g_next.renameFile(from, to);
}
int LinkFile(const char* existing, const char* newName) {
  FullDisk::Get().Note(std::string("link ") + existing + " " + newName);
  if (Fails(true)) return -1;
  return g_next.linkFile(existing, newName);
}
int MakeFolder(const char* path, mode_t mode) {
  if (Fails(true)) return -1;
  return g_next.makeFolder(path, mode);
}
// Only a file that does not exist yet needs room.
int OpenAt(int folder, const char* path, int flags, mode_t mode) {
  struct stat existing;
  const bool makes = (flags & O_CREAT) != 0 && fstatat(folder, path, &existing, 0) != 0;
  if (makes && Fails(true)) return -1;
  return g_next.openAt(folder, path, flags, mode);
}
int Reserve(int fd, off_t offset, off_t length) {
  if (FullDisk::Get().Fails(true)) return ENOSPC;
  return g_next.reserve(fd, offset, length);
}

}  // namespace

FullDiskCalls::FullDiskCalls() : saved_(SystemCalls()) {
  FullDisk::Get();
  g_next = saved_;
  PosixSystemCalls& calls = SystemCalls();
  calls.writeFile = WriteFile;
  calls.syncFile = SyncFile;
  calls.renameFile = RenameFile;
  calls.linkFile = LinkFile;
  calls.makeFolder = MakeFolder;
  calls.openAt = OpenAt;
  calls.reserve = Reserve;
}

FullDiskCalls::~FullDiskCalls() { SystemCalls() = saved_; }

}  // namespace qm::testing
