#include "platform/folder_enumeration.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/file_names.h"

namespace qm::platform {
namespace {

// A 32-bit build needs the 64-bit file interfaces (_FILE_OFFSET_BITS=64,
// set by CMakeLists.txt): with 32-bit inode numbers and offsets, readdir
// fails with EOVERFLOW on a file system whose numbers pass 32 bits, and a
// project folder reads as empty. Its times are 64-bit too (_TIME_BITS=64).
static_assert(sizeof(ino_t) == 8 && sizeof(off_t) == 8, "build with _FILE_OFFSET_BITS=64");
static_assert(sizeof(time_t) == 8, "build with _TIME_BITS=64");

// The one place where errno becomes a status.
FsStatus StatusFromErrno(int error) {
  switch (error) {
    case 0:
      return FsStatus::kOk;
    case ENOENT:
      return FsStatus::kNotFound;
    case ENOTDIR:
      return FsStatus::kNotAFolder;
    case EACCES:
    case EPERM:
      return FsStatus::kAccessDenied;
    case EMFILE:
    case ENFILE:
      return FsStatus::kTooManyOpenFiles;
    case ENOMEM:
      return FsStatus::kOutOfMemory;
    case ENAMETOOLONG:
      return FsStatus::kNameTooLong;
    case ELOOP:
      return FsStatus::kLinkLoop;
    default:
      return FsStatus::kIoError;
  }
}

// The native form of `path`, or false when it holds a zero byte, which no
// system call could see past.
bool ToNativePath(std::u16string_view path, std::string* native) {
  *native = TextToNativeName(path);
  return native->find('\0') == std::string::npos;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsLinkItself(DIR* dir, const char* name) {
  struct stat info;
  return fstatat(dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

// What the entry is once links are followed, and whether it is a link.
// The entry type from readdir settles most entries without another system
// call; links and file systems that do not fill the type need a stat
// relative to the open folder, and, where the type is not filled, a folder
// or what cannot be followed a second, of the entry itself.
EntryKind KindOfEntry(DIR* dir, const dirent* entry, bool* link) {
  *link = entry->d_type == DT_LNK;
  switch (entry->d_type) {
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat info;
      if (fstatat(dirfd(dir), entry->d_name, &info, 0) == 0) {
        if (!S_ISDIR(info.st_mode)) return EntryKind::kFile;
        if (entry->d_type == DT_UNKNOWN) *link = IsLinkItself(dir, entry->d_name);
        return EntryKind::kFolder;
      }
      if (entry->d_type == DT_UNKNOWN) *link = IsLinkItself(dir, entry->d_name);
      return *link ? EntryKind::kDanglingLink : EntryKind::kFile;
    }
    default:
      return EntryKind::kFile;
  }
}

}  // namespace

struct FolderReader::Handle {
  DIR* dir = nullptr;
};

FolderReader::FolderReader() = default;

FolderReader::~FolderReader() { Close(); }

FsStatus FolderReader::Open(std::u16string_view path) {
  Close();
  std::string native;
  if (!ToNativePath(path, &native)) {
    status_ = FsStatus::kInvalidName;
    nativeError_ = 0;
    return status_;
  }
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) {
    Fail(errno);
    return status_;
  }
  handle_ = std::make_unique<Handle>();
  handle_->dir = dir;
  struct stat info;
  if (fstat(dirfd(dir), &info) != 0) {
    Fail(errno);
    Close();
    return status_;
  }
  identity_ = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  status_ = FsStatus::kOk;
  nativeError_ = 0;
  return status_;
}

void FolderReader::Close() {
  if (handle_ != nullptr) closedir(handle_->dir);
  handle_.reset();
  identity_ = {};
}

bool FolderReader::Next(FolderEntry* entry) {
  if (handle_ == nullptr) return false;
  for (;;) {
    errno = 0;
    const dirent* found = readdir(handle_->dir);
    if (found == nullptr) {
      if (errno != 0) Fail(errno);
      return false;
    }
    if (IsDotOrDotDot(found->d_name)) continue;
    entry->name = NativeNameToText(found->d_name);
    entry->kind = KindOfEntry(handle_->dir, found, &entry->link);
    return true;
  }
}

void FolderReader::Fail(int nativeError) {
  nativeError_ = nativeError;
  status_ = StatusFromErrno(nativeError);
}

FsStatus ProbePath(std::u16string_view path) {
  std::string native;
  if (!ToNativePath(path, &native)) return FsStatus::kInvalidName;
  struct stat info;
  if (lstat(native.c_str(), &info) == 0) return FsStatus::kOk;
  // A file standing where a folder of the path should be: the path is not
  // there, which Windows calls a missing path rather than a bad folder.
  return errno == ENOTDIR ? FsStatus::kPathNotFound : StatusFromErrno(errno);
}

}  // namespace qm::platform
