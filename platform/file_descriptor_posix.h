// A POSIX file descriptor owned by one object: closed on every way out,
// or at once where the caller wants the close's own error (a write's last
// error may come from it).
#ifndef QMPECORE_PLATFORM_FILE_DESCRIPTOR_POSIX_H_
#define QMPECORE_PLATFORM_FILE_DESCRIPTOR_POSIX_H_

#include <unistd.h>

namespace qm::platform {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_DESCRIPTOR_POSIX_H_
