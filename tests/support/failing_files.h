// The file operations and the save of a rename or a replace with a failure
// injected at a chosen call, and the bytes of a project's files to compare with after.
#ifndef QMPECORE_TESTS_SUPPORT_FAILING_FILES_H_
#define QMPECORE_TESTS_SUPPORT_FAILING_FILES_H_

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "config/config_manager.h"
#include "qmcfg/qmcfg.h"
#include "rename/file_operations.h"
#include "support/temp_folder.h"

namespace qm::testing {

// Every file under the folder with its bytes, the project file left out.
inline std::map<std::string, std::string> ProjectTextFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files = FolderBytes(folder);
  std::erase_if(files, [](const auto& file) { return file.first.ends_with(".qmp"); });
  return files;
}

// Fails the n-th call (from 1) of one operation; 0 fails none.
class FailingFiles : public FileOperations {
 public:
  int failWrite = 0;
  int failReplace = 0;
  bool failSync = false;  // the folders' sync after every rename
  // Called at the first write: the test changes an original behind the
  // caller's back.
  std::function<void()> onFirstWrite;

  platform::FileRewriteStatus WriteBeside(std::u16string_view original, std::string_view bytes,
                                          std::u16string* newPath) override {
    if (++writes_ == 1 && onFirstWrite) onFirstWrite();
    if (writes_ == failWrite) return {platform::FileRewriteStep::kWrite, 28};
    return FileOperations::WriteBeside(original, bytes, newPath);
  }
  platform::FileRewriteStatus Replace(std::u16string_view from, std::u16string_view to,
                                      platform::FolderSync sync) override {
    if (++replaces_ == failReplace) return {platform::FileRewriteStep::kReplace, 5};
    return FileOperations::Replace(from, to, sync);
  }
  platform::FileRewriteStatus SyncFolders(const std::vector<std::u16string>& paths,
                                          size_t* failedAt) override {
    if (failSync) {
      *failedAt = paths.size() - 1;
      return {platform::FileRewriteStep::kSyncFolder, 5};
    }
    return FileOperations::SyncFolders(paths, failedAt);
  }

 private:
  int writes_ = 0;
  int replaces_ = 0;
};

// A configuration manager whose n-th save (from 1) fails, either after
// the real save has written the table (as when only its read-back fails)
// or before anything is written.
class FailingSaveManager : public CConfigManagerEx {
 public:
  FailingSaveManager(int failAt, bool writeFirst) : failAt_(failAt), writeFirst_(writeFirst) {}
  int32_t Save(int32_t tableNumber, int32_t subId) override {
    if (++saves_ != failAt_) return CConfigManagerEx::Save(tableNumber, subId);
    if (writeFirst_) CConfigManagerEx::Save(tableNumber, subId);
    return kCfgSqliteBase + 10;  // an I/O error
  }

 private:
  int failAt_;
  bool writeFirst_;
  int saves_ = 0;
};

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_FAILING_FILES_H_
