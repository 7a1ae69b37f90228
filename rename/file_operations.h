// The file system as a rename uses it. The system's operations by default;
// a test overrides one to make it fail at a chosen moment. ReadWhole is
// called from several threads at once.
#ifndef QMPECORE_RENAME_FILE_OPERATIONS_H_
#define QMPECORE_RENAME_FILE_OPERATIONS_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_rewrite.h"

namespace qm {

class FileOperations {
 public:
  virtual ~FileOperations() = default;

  virtual platform::FileRewriteStatus ReadWhole(std::u16string_view path, std::string* bytes) {
    return platform::ReadWholeFile(path, bytes);
  }
  virtual platform::FileRewriteStatus WriteBeside(std::u16string_view original,
                                                  std::string_view bytes,
                                                  std::u16string* newPath) {
    return platform::WriteFileBeside(original, bytes, newPath);
  }
  virtual platform::FileRewriteStatus LinkBeside(std::u16string_view original,
                                                 std::u16string* linkPath) {
    return platform::LinkBeside(original, linkPath);
  }
  virtual platform::FileRewriteStatus Replace(std::u16string_view from, std::u16string_view to,
                                              platform::FolderSync sync) {
    return platform::RenameOver(from, to, sync);
  }
  virtual platform::FileRewriteStatus SyncFolders(const std::vector<std::u16string>& paths,
                                                  size_t* failedAt) {
    return platform::SyncFoldersOf(paths, failedAt);
  }
  virtual platform::FileRewriteStatus Remove(std::u16string_view path) {
    return platform::RemoveFile(path);
  }
};

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_OPERATIONS_H_
