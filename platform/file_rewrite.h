// Rewriting a file whole without ever leaving it half written: its bytes
// read whole, the new bytes written to a new file in the same folder, that
// file renamed over the original in one step (rename() on POSIX,
// MoveFileExW with MOVEFILE_REPLACE_EXISTING on Windows), a leftover new
// file removed.
#ifndef QMPECORE_PLATFORM_FILE_REWRITE_H_
#define QMPECORE_PLATFORM_FILE_REWRITE_H_

#include <string>
#include <string_view>

namespace qm::platform {

// Which step failed, with the system's error number (errno or
// GetLastError(); 0 when not from the system).
enum class FileRewriteStep { kNone = 0, kRead, kCreate, kWrite, kReplace, kRemove };

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

// Renames `from` over `to` in one step: afterwards `to` holds either its
// old bytes or all of `from`'s, whatever happens on the way.
FileRewriteStatus RenameOver(std::u16string_view from, std::u16string_view to);

FileRewriteStatus RemoveFile(std::u16string_view path);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_REWRITE_H_
