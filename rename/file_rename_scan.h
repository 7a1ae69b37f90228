// The rename's pass over the project's text files: each file read and its
// change planned on a pool of workers, the plans handed over in the order
// of the list, as one pass through it would hand them.
#ifndef QMPECORE_RENAME_FILE_RENAME_SCAN_H_
#define QMPECORE_RENAME_FILE_RENAME_SCAN_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_rewrite.h"
#include "rename/file_change_plan.h"
#include "rename/file_operations.h"

namespace qm {

struct FileRenameScan {
  std::string_view oldWord;  // UTF-8
  std::string_view newWord;
  FileOperations& files;     // ReadWhole is called from the workers, at once
  size_t workers;            // 0: one per usable processor; 1: the calling thread alone
};

// The first file that could not be read, with its path and why.
struct UnreadFile {
  std::u16string path;
  platform::FileRewriteStatus status;
};

// Plans the rename in each of `files` (path and location set) and hands
// the plan of every file that changes to `take`, in list order, on the
// calling thread. Stops at the first file that cannot be read and returns
// it; no later file is handed over.
std::optional<UnreadFile> ScanFilesForRename(const FileRenameScan& scan,
                                             std::vector<FileChangePlan> files,
                                             const std::function<void(FileChangePlan&&)>& take);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_RENAME_SCAN_H_
