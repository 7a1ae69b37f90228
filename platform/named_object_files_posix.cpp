// The files behind named objects: the per-user folder, the file names, the
// ownership checks and the flock protocol that gives objects their lifetime
// (see named_object_posix.h and named_object_files.h).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "platform/named_object_posix.h"
#include "platform/system_calls_posix.h"

namespace qm::platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kLockPrefix[] = "lock.";

std::string& FolderSetting() {
  static std::string folder = "/dev/shm/qmpe-" + std::to_string(geteuid());
  return folder;
}

NamedObjectStatus Failure(NamedObjectError error, int systemError = errno) {
  return {error, systemError};
}

bool IsPlainNameUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'-' || c == u'_' || c == u'.';
}

// Refuses what another user owns or may read, write or replace: that user
// could read the project paths, plant a fake registry or corrupt it.
NamedObjectStatus CheckOurs(int fd, mode_t type, NamedObjectError onError) {
  struct stat st;
  if (fstat(fd, &st) != 0) return Failure(onError);
  if ((st.st_mode & S_IFMT) != type || st.st_uid != geteuid() ||
      (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    return Failure(NamedObjectError::kNotOurs, EACCES);
  }
  return {};
}

// flock has no timed form, and a holder that stopped must not stall the
// caller past its wait: the lock is tried without blocking, with sleeps
// that start short (it is normally held for microseconds) and grow to a
// millisecond. Past the deadline errno is ETIMEDOUT.
bool LockExclusiveBefore(int fd, Clock::time_point deadline) {
  Clock::duration pause = std::chrono::microseconds(20);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      errno = ETIMEDOUT;
      return false;
    }
    std::this_thread::sleep_for(std::min(pause, deadline - now));
    pause = std::min<Clock::duration>(pause * 2, std::chrono::milliseconds(1));
  }
}

// The file at `fileName` is still the one open as `fd`.
bool IsSameFile(int dirFd, const std::string& fileName, int fd) {
  struct stat byName;
  struct stat byFd;
  return fstatat(dirFd, fileName.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 &&
         fstat(fd, &byFd) == 0 && byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

// An existing file is live while some process holds it. Otherwise all its
// holders died: the stale file is removed (open only) or emptied to be made
// afresh (create).
NamedObjectStatus TakeExisting(int dirFd, const std::string& fileName, int fd, bool create,
                               bool* fresh) {
  NamedObjectStatus status = CheckOurs(fd, S_IFREG, NamedObjectError::kOpenObject);
  if (!status.ok()) return status;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? NamedObjectStatus{} : Failure(NamedObjectError::kHoldObject);
  }
  if (!create) {
    unlinkat(dirFd, fileName.c_str(), 0);
    return Failure(NamedObjectError::kNotFound, ENOENT);
  }
  *fresh = true;
  if (ftruncate(fd, 0) != 0) return Failure(NamedObjectError::kResizeObject);
  return {};
}

// Gives a fresh file its size (zero-filled) and takes the holder's shared
// lock, which nobody can hold against it while we hold the creation lock.
// The size is reserved, not merely set: a file system that is full would
// otherwise let the file be mapped and then kill the process with SIGBUS
// at its first store into a page it cannot supply.
NamedObjectStatus HoldFile(int fd, bool fresh, size_t size, HeldFile* file) {
  if (fresh) {
    if (const int error = SystemCalls().reserve(fd, 0, static_cast<off_t>(size))) {
      return Failure(NamedObjectError::kResizeObject, error);
    }
  }
  struct stat st;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0 || fstat(fd, &st) != 0) {
    return Failure(NamedObjectError::kHoldObject);
  }
  file->size = static_cast<size_t>(st.st_size);
  return {};
}

}  // namespace

std::string NamedObjectFolder() { return FolderSetting(); }

void SetNamedObjectFolder(std::string folder) { FolderSetting() = std::move(folder); }

std::string NamedObjectFileName(NamedObjectKind kind, std::u16string_view name) {
  if (name.empty()) return {};
  std::string file = kind == NamedObjectKind::kMapping ? "mapping." : "mutex.";
  for (char16_t unit : name) {
    if (IsPlainNameUnit(unit)) {
      file.push_back(static_cast<char>(unit));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "%%%04X", static_cast<unsigned>(unit));
      file += escape;
    }
  }
  if (file.size() + sizeof kLockPrefix - 1 > NAME_MAX) return {};
  return file;
}

NamedObjectStatus OpenObjectFolder(const std::string& folder, bool make, int* dirFd) {
  const bool made = make && SystemCalls().makeFolder(folder.c_str(), 0700) == 0;
  if (make && !made && errno != EEXIST) return Failure(NamedObjectError::kFolder);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return Failure(NamedObjectError::kFolder);
  NamedObjectStatus status = CheckOurs(fd, S_IFDIR, NamedObjectError::kFolder);
  // The umask may have taken bits from a folder just made; others get none.
  if (status.ok() && made && fchmod(fd, 0700) != 0) status = Failure(NamedObjectError::kFolder);
  if (!status.ok()) {
    close(fd);
    return status;
  }
  *dirFd = fd;
  return {};
}

CreationLock::~CreationLock() {
  if (fd_ >= 0) close(fd_);  // closing gives up the lock
}

NamedObjectStatus CreationLock::Acquire(int dirFd, const std::string& fileName, uint32_t waitMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  name_ = kLockPrefix + fileName;
  for (;;) {
    int fd = SystemCalls().openAt(dirFd, name_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                                  0600);
    if (fd < 0) return Failure(NamedObjectError::kLockFile);
    NamedObjectStatus status = CheckOurs(fd, S_IFREG, NamedObjectError::kLockFile);
    if (status.ok() && !LockExclusiveBefore(fd, deadline)) {
      status = Failure(NamedObjectError::kLockFile);
    }
    if (status.ok() && IsSameFile(dirFd, name_, fd)) {
      fd_ = fd;
      dirFd_ = dirFd;
      return {};
    }
    close(fd);
    if (!status.ok()) return status;
  }
}

void CreationLock::RemoveFile() {
  if (fd_ >= 0) unlinkat(dirFd_, name_.c_str(), 0);
}

NamedObjectStatus OpenHeldFile(int dirFd, const std::string& fileName, bool create, size_t size,
                               HeldFile* file) {
  const char* name = fileName.c_str();
  bool fresh = false;
  NamedObjectStatus status;
  int fd = openat(dirFd, name, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    status = TakeExisting(dirFd, fileName, fd, create, &fresh);
  } else if (errno != ENOENT) {
    return Failure(NamedObjectError::kOpenObject);
  } else if (!create) {
    return Failure(NamedObjectError::kNotFound, ENOENT);
  } else {
    fd = SystemCalls().openAt(dirFd, name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              0600);
    if (fd < 0) return Failure(NamedObjectError::kOpenObject);
    fresh = true;
  }
  if (status.ok()) status = HoldFile(fd, fresh, size, file);
  if (!status.ok()) {
    if (fresh) unlinkat(dirFd, name, 0);  // nothing half-made stays behind
    close(fd);
    return status;
  }
  file->fd = fd;
  file->created = fresh;
  return {};
}

bool CloseHeldFile(int dirFd, const std::string& fileName, int fd) {
  // The exclusive lock is granted only when no other process holds the
  // file; then this was the last holder and the object ends with it.
  const bool last = dirFd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                    IsSameFile(dirFd, fileName, fd) && unlinkat(dirFd, fileName.c_str(), 0) == 0;
  close(fd);
  return last;
}

}  // namespace qm::platform
