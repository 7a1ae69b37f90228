// Reading one folder's entries, the identity of a folder, and whether
// anything exists at a path: what the project scan needs of the file system.
//
// Paths and names are UTF-16 (platform/file_names.h converts losslessly).
// Failures are reported as the Windows error code of the failed operation,
// the same on every platform; the raw OS error is kept for diagnostics.
#ifndef QMPECORE_PLATFORM_FOLDER_ENUMERATION_H_
#define QMPECORE_PLATFORM_FOLDER_ENUMERATION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qm::platform {

enum class FsStatus : int32_t {
  kOk = 0,
  kNotFound = 2,           // ERROR_FILE_NOT_FOUND
  kPathNotFound = 3,       // ERROR_PATH_NOT_FOUND: a folder on the way is missing
  kTooManyOpenFiles = 4,   // ERROR_TOO_MANY_OPEN_FILES
  kAccessDenied = 5,       // ERROR_ACCESS_DENIED
  kOutOfMemory = 8,        // ERROR_NOT_ENOUGH_MEMORY
  kInvalidName = 123,      // ERROR_INVALID_NAME: e.g. an embedded zero unit
  kNameTooLong = 206,      // ERROR_FILENAME_EXCED_RANGE
  kNotAFolder = 267,       // ERROR_DIRECTORY
  kIoError = 1117,         // ERROR_IO_DEVICE: anything else
  kLinkLoop = 1921,        // ERROR_CANT_RESOLVE_FILENAME
};

// A folder as the file system knows it, whatever path or link reached it.
struct FolderIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// What an entry is once links are followed.
enum class EntryKind : uint8_t {
  kFile,
  kFolder,
  kDanglingLink,  // a link whose target is missing or cannot be reached
};

struct FolderEntry {
  std::u16string name;  // one name, no separator
  EntryKind kind = EntryKind::kFile;
  // A link (or other reparse point): kind is its target's. Told for
  // folders and links that lead nowhere; a file may read as no link.
  bool link = false;
};

// Enumerates one folder in the file system's own order, never giving "."
// or "..". Links are followed: a link to a folder reads as a folder.
// Holds the folder open (one OS handle) from Open until Close or
// destruction. Not thread-safe.
class FolderReader {
 public:
  FolderReader();
  ~FolderReader();
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  // Opens the folder at `path` (a trailing separator is allowed). On
  // failure nothing is open and Next gives nothing. Closes a folder that
  // was open before.
  FsStatus Open(std::u16string_view path);
  void Close();

  // The identity of the open folder; all zero when none is open.
  const FolderIdentity& identity() const { return identity_; }

  // Fills `entry` with the next entry, reusing its storage. Returns false at
  // the end, or after a read error (then status() says which).
  bool Next(FolderEntry* entry);

  // The outcome of the last Open or Next, and the OS error behind it.
  FsStatus status() const { return status_; }
  int nativeError() const { return nativeError_; }

 private:
  struct Handle;  // the backend's open folder

  void Fail(int nativeError);

  std::unique_ptr<Handle> handle_;
  FolderIdentity identity_;
  FsStatus status_ = FsStatus::kOk;
  int nativeError_ = 0;
};

// kOk when something exists at `path`, without following a final link (a
// dangling link exists); else why nothing could be found there.
FsStatus ProbePath(std::u16string_view path);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FOLDER_ENUMERATION_H_
