#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/file_descriptor_posix.h"
#include "platform/file_names.h"
#include "platform/file_read.h"

namespace qm::platform {
namespace {

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

// One read, retried when a signal interrupts it.
int64_t ReadSome(int fd, char* out, size_t want) {
  ssize_t got;
  do {
    got = ::read(fd, out, want);
  } while (got < 0 && errno == EINTR);
  return got;
}

}  // namespace

FileReadStatus ReadFileText(std::u16string_view path, FileBuffer* buffer) {
  const std::string native = TextToNativeName(path);
  if (native.find('\0') != std::string::npos) return Failed(FileReadError::kOpen, EINVAL, buffer);
  const FileDescriptor file(OpenForReading(native));
  if (file.get() < 0) return Failed(FileReadError::kOpen, errno, buffer);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) return Failed(FileReadError::kSize, errno, buffer);
  if (!S_ISREG(info.st_mode)) return Failed(FileReadError::kNotAFile, 0, buffer);
  if (static_cast<uint64_t>(info.st_size) > UINT32_MAX) {
    return Failed(FileReadError::kTooLarge, EFBIG, buffer);
  }
  const auto size = static_cast<size_t>(info.st_size);
  const int64_t got = ReadUpToFirstZero(
      [&](char* at, size_t want) { return ReadSome(file.get(), at, want); },
      buffer->PrepareForOverwrite(size), size);
  if (got < 0) return Failed(FileReadError::kRead, errno, buffer);
  buffer->Truncate(static_cast<size_t>(got));
  return {};
}

}  // namespace qm::platform
