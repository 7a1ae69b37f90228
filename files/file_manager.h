// CFileManager: the files of one project folder, scanned once when it opens
// and handed out afterwards as sorted lists filtered by wildcard patterns
// (platform/path_match.h).
//
// Not thread-safe: it belongs to one open editor. GetAllFiles only reads;
// Init and Close must not overlap any other call.
#ifndef QMPECORE_FILES_FILE_MANAGER_H_
#define QMPECORE_FILES_FILE_MANAGER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "files/folder_scan.h"
#include "qmpecore/file_lists.h"

namespace qm {

// The codes of Init (Windows error codes).
inline constexpr int32_t kErrorFileNotFound = 2;
inline constexpr int32_t kErrorInvalidName = 123;
inline constexpr int32_t kErrorAlreadyExists = 183;
inline constexpr int32_t kErrorFilenameExcedRange = 206;

// The flags of GetAllFiles.
inline constexpr int32_t kFilesFullPaths = 1;        // else relative to the project folder
inline constexpr int32_t kFilesKeepProjectFile = 2;  // else the project file is left out

// No base class; the virtual operations keep this slot order, which the
// application relies on.
class CFileManager {
 public:
  CFileManager() = default;  // empty path, folder and list
  CFileManager(const CFileManager&) = delete;
  CFileManager& operator=(const CFileManager&) = delete;

  // Fills `out` afresh with the files that pass the filters and returns how
  // many texts it holds (equal texts collapse). A file passes when it is not
  // the project file (unless kFilesKeepProjectFile), matches one include
  // pattern (a null or empty list lets every file pass) and matches no
  // exclude pattern. Matching sees the full path; shortening comes after.
  // A project file is a path that the project path matches as one
  // wildcard pattern, case ignored: "*" and "?" in it are wildcards, while
  // ";" and blanks, which a folder name may hold, are plain characters
  // (it is never read as a pattern list).
  // A null `out` answers -1.
  virtual int32_t GetAllFiles(FileNameSet* out, const PatternList* include,
                              const PatternList* exclude, int32_t flags);

  virtual ~CFileManager();

  // Takes the project path (the project file inside the project folder) and
  // scans the folder. Returns 0; kErrorAlreadyExists when a path was taken
  // before (even if Close ran since), changing nothing; kErrorInvalidName
  // for a null path or one empty after normalisation;
  // kErrorFilenameExcedRange when the path does not fit a PathParts record;
  // kErrorFileNotFound when nothing exists at the path. The second argument
  // is unused (pass 0).
  virtual int32_t Init(const char16_t* path, int32_t);

  // Empties the file list and the unread folders; the project path and
  // folder stay. Returns 0.
  virtual int32_t Close();

  const std::u16string& projectPath() const { return projectPath_; }
  // Ends with the path separator; empty until Init succeeds.
  const std::u16string& projectFolder() const { return projectFolder_; }
  // Full paths in scan order.
  const std::vector<std::u16string>& files() const { return files_; }
  // The folders that the scan could not read, in scan order: the files
  // they hold are missing from every list, which must not pass for an
  // empty folder.
  const std::vector<UnreadFolder>& unreadFolders() const { return unreadFolders_; }

 private:
  std::u16string projectPath_;
  std::u16string projectFolder_;
  std::vector<std::u16string> files_;
  std::vector<UnreadFolder> unreadFolders_;
};

// Makes a file manager and runs Init(path, 0). On failure the object is
// destroyed and null is returned. `code` (may be null) receives Init's
// answer, or kErrorInvalidName for a null path.
CFileManager* CreateFileManager(const char16_t* path, int32_t* code);

}  // namespace qm

#endif  // QMPECORE_FILES_FILE_MANAGER_H_
