// Rewriting a file whole without ever leaving it half written: its bytes
// read whole, the new bytes written to a new file in the same folder and
// synced to the disk, that file renamed over the original in one step, and
// the rename itself made durable (on POSIX rename() then fsync of the
// folder; on Windows MoveFileExW with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH after FlushFileBuffers), a leftover new file
// removed. The original can be kept under a second name first, so that
// putting it back needs no free space.
#ifndef QMPECORE_PLATFORM_FILE_REWRITE_H_
#define QMPECORE_PLATFORM_FILE_REWRITE_H_

#include <string>
#include <string_view>
#include <vector>

namespace qm::platform {

// Which step failed, with the system's error number (errno or
// GetLastError(); 0 when not from the system).
// kSyncFolder: the rename was made but the folder could not be synced, so
// the new name may not survive a power cut; the caller treats the file as
// replaced.
enum class FileRewriteStep {
  kNone = 0, kRead, kCreate, kWrite, kReplace, kRemove, kLink, kSyncFolder
};

// What a failure's system error means for the one who asked to write.
enum class WriteFailure {
  kOther,
  kReadOnly,  // the file, its folder or its file system may not be written
  kNoSpace,   // the disk (or the user's quota) is full
};
WriteFailure WriteFailureOf(int systemError);

struct FileRewriteStatus {
  FileRewriteStep failed = FileRewriteStep::kNone;
  int systemError = 0;
  bool ok() const { return failed == FileRewriteStep::kNone; }
};

// Reads every byte of the regular file at `path` (zero bytes included)
// into `bytes`; on failure `bytes` is empty.
FileRewriteStatus ReadWholeFile(std::u16string_view path, std::string* bytes);

// Writes `bytes` to a file that did not exist, in the folder of `original`
// and named after it, with the original's permissions where the system
// has them, flushed to the disk; its path goes to `newPath`. On failure no
// new file is left and `newPath` is empty.
FileRewriteStatus WriteFileBeside(std::u16string_view original, std::string_view bytes,
                                  std::u16string* newPath);

// Whether a rename is on the disk when it answers, or waits for one
// SyncFoldersOf after many renames: syncing a folder once for all its
// files, not once a file, is what a commit of thousands of files costs.
enum class FolderSync { kNow, kLater };

// Renames `from` over `to` in one step: afterwards `to` holds either its
// old bytes or all of `from`'s, whatever happens on the way. With kNow,
// when it answers the rename is on the disk (kSyncFolder: made, but
// perhaps not durable).
FileRewriteStatus RenameOver(std::u16string_view from, std::u16string_view to,
                             FolderSync sync = FolderSync::kNow);

// Makes the kLater renames to `paths` durable, each of their folders
// synced once; kSyncFolder with the index of a path whose folder could
// not be synced in `failedAt`. (Windows writes a rename through itself.)
FileRewriteStatus SyncFoldersOf(const std::vector<std::u16string>& paths, size_t* failedAt);

// Gives the file at `original` a second name beside it (a hard link), its
// path to `linkPath`: renaming that name back over the original later
// restores the original's bytes without writing them, so even on a full
// disk. kLink where the file system has no hard links.
FileRewriteStatus LinkBeside(std::u16string_view original, std::u16string* linkPath);

FileRewriteStatus RemoveFile(std::u16string_view path);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_REWRITE_H_
