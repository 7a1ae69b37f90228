#include "files/file_manager.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "files/folder_scan.h"
#include "platform/folder_enumeration.h"
#include "platform/path_match.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// The patterns of one request, compiled once and matched against every file.
class PatternSet {
 public:
  explicit PatternSet(const PatternList* list) {
    if (list == nullptr) return;
    patterns_.reserve(list->size());
    for (const std::u16string& text : *list) patterns_.emplace_back(text);
  }

  bool empty() const { return patterns_.empty(); }

  bool AnyMatches(std::u16string_view path) const {
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [path](const platform::PathPattern& p) { return p.Matches(path); });
  }

 private:
  std::vector<platform::PathPattern> patterns_;
};

}  // namespace

CFileManager::~CFileManager() = default;

int32_t CFileManager::GetAllFiles(FileNameSet* out, const PatternList* include,
                                  const PatternList* exclude, int32_t flags) {
  if (out == nullptr) return -1;
  out->clear();
  if (files_.empty()) return 0;
  const size_t prefix = (flags & kFilesFullPaths) != 0 ? 0 : projectFolder_.size();
  const bool dropProjectFile = (flags & kFilesKeepProjectFile) == 0;
  const platform::PathPattern projectFile = platform::PathPattern::Single(projectPath_);
  const PatternSet includes(include);
  const PatternSet excludes(exclude);

  for (const std::u16string& path : files_) {
    if (dropProjectFile && projectFile.Matches(path)) continue;
    if (!includes.empty() && !includes.AnyMatches(path)) continue;
    if (excludes.AnyMatches(path)) continue;
    out->emplace(std::u16string_view(path).substr(std::min(prefix, path.size())));
  }
  return static_cast<int32_t>(out->size());
}

int32_t CFileManager::Init(const char16_t* path, int32_t) {
  if (!projectPath_.empty()) return kErrorAlreadyExists;
  std::u16string text = path != nullptr ? path : u"";
  NormalizeText(&text, 0, 0);
  if (text.empty()) return kErrorInvalidName;

  // The split comes before the probe so that a path too long for the record
  // answers the same whether or not something exists there; it is refused,
  // never cut. The record is large (two PATH_MAX fields on POSIX), so it
  // lives on the heap.
  auto parts = std::make_unique<PathParts>();
  if (!SetPathPartsPath(parts.get(), text) || !SplitPath(parts.get())) {
    return kErrorFilenameExcedRange;
  }
  if (platform::ProbePath(text) != platform::FsStatus::kOk) return kErrorFileNotFound;

  projectPath_ = std::move(text);
  FormatText(&projectFolder_, u"%s%s", parts->drive, parts->directory);
  files_.clear();
  unreadFolders_.clear();
  ScanFolder(projectFolder_, &files_, &unreadFolders_);
  return 0;
}

int32_t CFileManager::Close() {
  std::vector<std::u16string>().swap(files_);
  std::vector<UnreadFolder>().swap(unreadFolders_);
  return 0;
}

CFileManager* CreateFileManager(const char16_t* path, int32_t* code) {
  int32_t result = kErrorInvalidName;
  std::unique_ptr<CFileManager> manager;
  if (path != nullptr) {
    manager = std::make_unique<CFileManager>();
    result = manager->Init(path, 0);
  }
  if (code != nullptr) *code = result;
  return result == 0 ? manager.release() : nullptr;
}

}  // namespace qm
