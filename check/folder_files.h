// Whether the project folder holds a file that a record names by path, as
// the folder stood when the editor's file manager scanned it.
#ifndef QMPECORE_CHECK_FOLDER_FILES_H_
#define QMPECORE_CHECK_FOLDER_FILES_H_

#include <string>
#include <string_view>
#include <unordered_set>

namespace qm {

class CFileManager;

class FolderFiles {
 public:
  // `files` (may be null: a folder without files) must outlive this
  // object; its list is read on the first question.
  explicit FolderFiles(const CFileManager* files) : files_(files) {}
  FolderFiles(const FolderFiles&) = delete;
  FolderFiles& operator=(const FolderFiles&) = delete;

  // True when the scan found the file that `path` names: relative to the
  // project folder or full, with "/" or the platform's separator, letter
  // case ignored where the platform's paths ignore it. "." and ".."
  // segments are taken as they are written, as a script's runner would
  // not take them either.
  bool Holds(std::u16string_view path);

 private:
  std::u16string KeyOf(std::u16string_view fullPath) const;

  const CFileManager* files_;
  bool listed_ = false;
  std::unordered_set<std::u16string> keys_;
};

}  // namespace qm

#endif  // QMPECORE_CHECK_FOLDER_FILES_H_
