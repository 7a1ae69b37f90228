// Writing the new bytes of several files all or none: each written to a new
// file beside it and synced first, every original checked to hold still
// the bytes it was read with, each original kept under a second name (a
// hard link, or where the file system has none a copy), and only then each
// new file renamed over its original. Until the commit is finished the
// kept originals can be renamed back, which needs no free space: a full
// disk at any step leaves every original as it was.
#ifndef QMPECORE_RENAME_FILE_SET_COMMIT_H_
#define QMPECORE_RENAME_FILE_SET_COMMIT_H_

#include <string>
#include <vector>

#include "rename/file_operations.h"
#include "rename/file_change_plan.h"

namespace qm {

enum class CommitStatus { kDone, kChanged, kFailed };

struct CommitOutcome {
  CommitStatus status = CommitStatus::kDone;
  std::u16string message;  // what failed, with the path; empty when done
  // What the system's error meant, when writing beside the originals (or
  // keeping them) failed: before any original was touched.
  platform::WriteFailure failure = platform::WriteFailure::kOther;
};

class FileSetCommit {
 public:
  FileSetCommit(const std::vector<FileChangePlan>& plans, FileOperations& files)
      : plans_(plans), files_(files) {}
  // Finishes a commit that was neither finished nor undone.
  ~FileSetCommit() { Finish(); }
  FileSetCommit(const FileSetCommit&) = delete;
  FileSetCommit& operator=(const FileSetCommit&) = delete;

  // Gives each file its new bytes. kChanged (a file no longer holds its old
  // bytes) and kFailed (a write, link or replace failed) leave every file
  // with its old bytes and nothing new beside it, as far as the system lets
  // a kept original be renamed back (the message says so when it did not).
  CommitOutcome Commit();

  // Keeps the new bytes: the kept originals are removed.
  void Finish();

  // Gives every file its old bytes back by renaming its kept original over
  // it; for a caller whose later step failed after Commit succeeded. The
  // message names the files it could not restore; empty when all were.
  std::u16string Undo();

 private:
  // Renames the kept originals of the first `count` files back; the names
  // of those that could not be, as a message (their kept originals stay).
  std::u16string RestoreFirst(size_t count);

  const std::vector<FileChangePlan>& plans_;
  FileOperations& files_;
  std::vector<std::u16string> kept_;  // by plan, once the new bytes are in place
};

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_SET_COMMIT_H_
