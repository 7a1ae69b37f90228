#include "check/folder_files.h"

#include "files/file_manager.h"
#include "platform/path_limits.h"
#include "platform/text_case.h"

namespace qm {
namespace {

bool IsFullPath(std::u16string_view path) {
  if (!path.empty() && platform::IsPathSeparator(path[0])) return true;
  return platform::kPathsHaveDrives && path.size() >= 2 && path[1] == u':';
}

}  // namespace

std::u16string FolderFiles::KeyOf(std::u16string_view fullPath) const {
  std::u16string key;
  if (platform::kPathsFoldCase) {
    platform::AppendFolded(fullPath, &key);
  } else {
    key = fullPath;
  }
  for (char16_t& unit : key) {
    if (platform::IsPathSeparator(unit)) unit = platform::kPathSeparator;
  }
  return key;
}

bool FolderFiles::Holds(std::u16string_view path) {
  if (files_ == nullptr || path.empty()) return false;
  if (!listed_) {
    listed_ = true;
    keys_.reserve(files_->files().size());
    for (const std::u16string& file : files_->files()) keys_.insert(KeyOf(file));
  }
  if (IsFullPath(path)) return keys_.count(KeyOf(path)) != 0;
  return keys_.count(KeyOf(files_->projectFolder() + std::u16string(path))) != 0;
}

}  // namespace qm
