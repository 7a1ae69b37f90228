#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <set>
#include <string>

#include "platform/file_descriptor_posix.h"
#include "platform/file_names.h"
#include "platform/file_rewrite.h"
#include "platform/system_calls_posix.h"

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
    const ssize_t wrote = SystemCalls().writeFile(fd, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(wrote));
  }
  return true;
}

// A name beside `native` that no file has yet: `native` + `suffix` + a
// number. `make` makes the file under a candidate name and answers 0, or
// the error number (EEXIST: try the next name).
template <class Make>
int MakeBeside(const std::string& native, const char* suffix, std::string* candidate,
               Make make) {
  for (int attempt = 0; attempt < kNewNameTries; ++attempt) {
    *candidate = native + suffix + std::to_string(attempt);
    const int error = make(*candidate);
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

std::string FolderOf(const std::string& native) {
  const size_t slash = native.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
}

// Makes the renames in `folder` durable: the files' bytes were synced
// before, but their new names live in the folder. A folder that cannot be
// opened for reading, or a file system that cannot sync folders (EINVAL),
// has nothing more to give; 0 then, as SQLite does.
int SyncFolder(const std::string& folder) {
  const int fd = SystemCalls().openFile(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return 0;
  const FileDescriptor dir(fd);
  if (SystemCalls().syncFile(fd) != 0 && errno != EINVAL) return errno;
  return 0;
}

}  // namespace

WriteFailure WriteFailureOf(int systemError) {
  switch (systemError) {
    case EROFS:
    case EACCES:
    case EPERM:
      return WriteFailure::kReadOnly;
    case ENOSPC:
    case EDQUOT:
      return WriteFailure::kNoSpace;
    default:
      return WriteFailure::kOther;
  }
}

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
  const int made = MakeBeside(native, ".new", &candidate, [&](const std::string& name) {
    fd = SystemCalls().openFile(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                                0600);
    return fd < 0 ? errno : 0;
  });
  if (made != 0) return Failed(FileRewriteStep::kCreate, made);
  FileDescriptor file(fd);
  const auto fail = [&](int error) {
    file.Close();
    SystemCalls().unlinkFile(candidate.c_str());
    return Failed(FileRewriteStep::kWrite, error);
  };
  if (SystemCalls().changeMode(fd, mode) != 0) return fail(errno);
  errno = 0;
  if (!WriteAll(fd, bytes)) return fail(errno == 0 ? EIO : errno);
  if (SystemCalls().syncFile(fd) != 0) return fail(errno);
  if (!file.Close()) {
    const int error = errno;
    SystemCalls().unlinkFile(candidate.c_str());
    return Failed(FileRewriteStep::kWrite, error);
  }
  *newPath = NativeNameToText(candidate);
  return {};
}

FileRewriteStatus RenameOver(std::u16string_view from, std::u16string_view to, FolderSync sync) {
  std::string nativeFrom;
  std::string nativeTo;
  if (!NativePath(from, &nativeFrom) || !NativePath(to, &nativeTo)) {
    return Failed(FileRewriteStep::kReplace, EINVAL);
  }
  if (SystemCalls().renameFile(nativeFrom.c_str(), nativeTo.c_str()) != 0) {
    return Failed(FileRewriteStep::kReplace, errno);
  }
  if (sync == FolderSync::kLater) return {};
  if (const int error = SyncFolder(FolderOf(nativeTo))) {
    return Failed(FileRewriteStep::kSyncFolder, error);
  }
  return {};
}

FileRewriteStatus SyncFoldersOf(const std::vector<std::u16string>& paths, size_t* failedAt) {
  std::set<std::string> synced;
  std::string native;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!NativePath(paths[i], &native)) continue;  // no such file was renamed
    std::string folder = FolderOf(native);
    if (synced.count(folder) != 0) continue;
    if (const int error = SyncFolder(folder)) {
      *failedAt = i;
      return Failed(FileRewriteStep::kSyncFolder, error);
    }
    synced.insert(std::move(folder));
  }
  return {};
}

FileRewriteStatus LinkBeside(std::u16string_view original, std::u16string* linkPath) {
  linkPath->clear();
  std::string native;
  if (!NativePath(original, &native)) return Failed(FileRewriteStep::kLink, EINVAL);
  std::string candidate;
  const int made = MakeBeside(native, ".old", &candidate, [&](const std::string& name) {
    return SystemCalls().linkFile(native.c_str(), name.c_str()) == 0 ? 0 : errno;
  });
  if (made != 0) return Failed(FileRewriteStep::kLink, made);
  *linkPath = NativeNameToText(candidate);
  return {};
}

FileRewriteStatus RemoveFile(std::u16string_view path) {
  std::string native;
  if (!NativePath(path, &native)) return Failed(FileRewriteStep::kRemove, EINVAL);
  if (SystemCalls().unlinkFile(native.c_str()) != 0) {
    return Failed(FileRewriteStep::kRemove, errno);
  }
  return {};
}

}  // namespace qm::platform
