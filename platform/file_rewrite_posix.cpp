#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/file_descriptor_posix.h"
#include "platform/file_names.h"
#include "platform/file_rewrite.h"

namespace qm::platform {
namespace {

// How many names a new file beside the original tries before giving up.
constexpr int kNewNameTries = 100;

FileRewriteStatus Failed(FileRewriteStep step, int systemError) { return {step, systemError}; }

bool NativePath(std::u16string_view path, std::string* native) {
  *native = TextToNativeName(path);
  return !native->empty() && native->find('\0') == std::string::npos;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(wrote));
  }
  return true;
}

}  // namespace

FileRewriteStatus ReadWholeFile(std::u16string_view path, std::string* bytes) {
  bytes->clear();
  std::string native;
  if (!NativePath(path, &native)) return Failed(FileRewriteStep::kRead, EINVAL);
  const FileDescriptor file(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) return Failed(FileRewriteStep::kRead, errno);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) return Failed(FileRewriteStep::kRead, errno);
  if (!S_ISREG(info.st_mode)) return Failed(FileRewriteStep::kRead, EINVAL);
  bytes->resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) bytes->resize(done + 4096);  // a file that grew
    const ssize_t got = ::read(file.get(), bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      bytes->clear();
      return Failed(FileRewriteStep::kRead, error);
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes->resize(done);
  return {};
}

FileRewriteStatus WriteFileBeside(std::u16string_view original, std::string_view bytes,
                                  std::u16string* newPath) {
  newPath->clear();
  std::string native;
  if (!NativePath(original, &native)) return Failed(FileRewriteStep::kCreate, EINVAL);
  struct stat info;
  const mode_t mode = ::stat(native.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  std::string candidate;
  int fd = -1;
  for (int attempt = 0; attempt < kNewNameTries && fd < 0; ++attempt) {
    candidate = native + ".new" + std::to_string(attempt);
    fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0 && errno != EEXIST) return Failed(FileRewriteStep::kCreate, errno);
  }
  if (fd < 0) return Failed(FileRewriteStep::kCreate, EEXIST);
  FileDescriptor file(fd);
  const auto fail = [&](int error) {
    file.Close();
    ::unlink(candidate.c_str());
    return Failed(FileRewriteStep::kWrite, error);
  };
  if (::fchmod(fd, mode) != 0) return fail(errno);
  if (!WriteAll(fd, bytes)) return fail(errno == 0 ? EIO : errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (!file.Close()) {
    const int error = errno;
    ::unlink(candidate.c_str());
    return Failed(FileRewriteStep::kWrite, error);
  }
  *newPath = NativeNameToText(candidate);
  return {};
}

FileRewriteStatus RenameOver(std::u16string_view from, std::u16string_view to) {
  std::string nativeFrom;
  std::string nativeTo;
  if (!NativePath(from, &nativeFrom) || !NativePath(to, &nativeTo)) {
    return Failed(FileRewriteStep::kReplace, EINVAL);
  }
  if (::rename(nativeFrom.c_str(), nativeTo.c_str()) != 0) {
    return Failed(FileRewriteStep::kReplace, errno);
  }
  return {};
}

FileRewriteStatus RemoveFile(std::u16string_view path) {
  std::string native;
  if (!NativePath(path, &native)) return Failed(FileRewriteStep::kRemove, EINVAL);
  if (::unlink(native.c_str()) != 0) return Failed(FileRewriteStep::kRemove, errno);
  return {};
}

}  // namespace qm::platform
