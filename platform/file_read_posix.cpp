#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/file_names.h"
#include "platform/file_read.h"

namespace qm::platform {
namespace {

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

FileReadStatus Failed(FileReadError error, int systemError, FileBuffer* buffer) {
  buffer->Truncate(0);
  return {error, systemError};
}

// Opening without blocking, so that a named pipe given as a path is turned
// away by the regular-file test instead of waiting for a writer.
int OpenForReading(const std::string& native) {
  int fd;
  do {
    fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Reads until `size` bytes or the end of the file; returns the count, or
// -1 with errno set.
ssize_t ReadFully(int fd, char* out, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, out + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

FileReadStatus ReadWholeFile(std::u16string_view path, FileBuffer* buffer) {
  const std::string native = TextToNativeName(path);
  if (native.find('\0') != std::string::npos) return Failed(FileReadError::kOpen, EINVAL, buffer);
  const Descriptor file(OpenForReading(native));
  if (file.get() < 0) return Failed(FileReadError::kOpen, errno, buffer);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) return Failed(FileReadError::kSize, errno, buffer);
  if (!S_ISREG(info.st_mode)) return Failed(FileReadError::kNotAFile, 0, buffer);
  if (static_cast<uint64_t>(info.st_size) > UINT32_MAX) {
    return Failed(FileReadError::kTooLarge, EFBIG, buffer);
  }
  const auto size = static_cast<size_t>(info.st_size);
  const ssize_t got = ReadFully(file.get(), buffer->PrepareForOverwrite(size), size);
  if (got < 0) return Failed(FileReadError::kRead, errno, buffer);
  buffer->Truncate(static_cast<size_t>(got));
  return {};
}

}  // namespace qm::platform
