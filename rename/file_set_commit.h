// Writing the new bytes of several files all or none: each written to a new
// file beside it first, every original checked to hold still the bytes it
// was read with, and only then each new file renamed over its original.
#ifndef QMPECORE_RENAME_FILE_SET_COMMIT_H_
#define QMPECORE_RENAME_FILE_SET_COMMIT_H_

#include <string>
#include <vector>

#include "rename/file_operations.h"
#include "rename/file_rename_plan.h"

namespace qm {

enum class CommitStatus { kDone, kChanged, kFailed };

struct CommitOutcome {
  CommitStatus status = CommitStatus::kDone;
  std::u16string message;  // what failed, with the path; empty when done
};

// Gives each file of `plans` its new bytes. kChanged (a file no longer
// holds its old bytes) and kFailed (a write or replace failed) leave every
// file with its old bytes and no new file behind, as far as the system
// lets a file be written back (the message says so when it did not).
CommitOutcome CommitFileSet(const std::vector<FileRenamePlan>& plans, FileOperations& files);

// Writes the old bytes of every file of `plans` back, the same way; for a
// caller whose later step failed after CommitFileSet succeeded. The
// message names the files it could not restore; empty when all were.
std::u16string RestoreFileSet(const std::vector<FileRenamePlan>& plans, FileOperations& files);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_SET_COMMIT_H_
