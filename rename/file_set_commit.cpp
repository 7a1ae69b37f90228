#include "rename/file_set_commit.h"

#include <string_view>

namespace qm {
namespace {

std::u16string Ascii(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string Describe(std::u16string_view what, std::u16string_view path,
                        const platform::FileRewriteStatus& status) {
  std::u16string message(what);
  message.append(u" ").append(path);
  if (status.systemError != 0) {
    message.append(u" (system error ").append(Ascii(std::to_string(status.systemError)));
    message.append(u")");
  }
  return message;
}

// Puts `bytes` in place of the file at `path` through a new file beside it;
// false when that failed.
bool WriteBack(std::u16string_view path, std::string_view bytes, FileOperations& files) {
  std::u16string newPath;
  if (!files.WriteBeside(path, bytes, &newPath).ok()) return false;
  if (files.Replace(newPath, path).ok()) return true;
  files.Remove(newPath);
  return false;
}

void RemoveAll(const std::vector<std::u16string>& paths, size_t from, FileOperations& files) {
  for (size_t i = from; i < paths.size(); ++i) files.Remove(paths[i]);
}

std::u16string RestoreFirst(const std::vector<FileRenamePlan>& plans, size_t count,
                            FileOperations& files) {
  std::u16string unrestored;
  for (size_t i = 0; i < count; ++i) {
    if (WriteBack(plans[i].path, plans[i].oldBytes, files)) continue;
    unrestored.append(unrestored.empty() ? u"" : u", ").append(plans[i].path);
  }
  return unrestored.empty() ? std::u16string()
                            : u"; these files could not be written back: " + unrestored;
}

}  // namespace

CommitOutcome CommitFileSet(const std::vector<FileRenamePlan>& plans, FileOperations& files) {
  std::vector<std::u16string> newPaths;
  newPaths.reserve(plans.size());
  for (const FileRenamePlan& plan : plans) {
    std::u16string newPath;
    const platform::FileRewriteStatus status = files.WriteBeside(plan.path, plan.newBytes, &newPath);
    if (!status.ok()) {
      RemoveAll(newPaths, 0, files);
      return {CommitStatus::kFailed, Describe(u"cannot write the new text of", plan.path, status)};
    }
    newPaths.push_back(std::move(newPath));
  }
  std::string current;
  for (const FileRenamePlan& plan : plans) {
    const platform::FileRewriteStatus status = files.ReadWhole(plan.path, &current);
    if (!status.ok() || current != plan.oldBytes) {
      RemoveAll(newPaths, 0, files);
      return {CommitStatus::kChanged,
              plan.path + u" changed on disk after it was read; nothing was renamed"};
    }
  }
  for (size_t i = 0; i < plans.size(); ++i) {
    const platform::FileRewriteStatus status = files.Replace(newPaths[i], plans[i].path);
    if (!status.ok()) {
      RemoveAll(newPaths, i, files);
      return {CommitStatus::kFailed,
              Describe(u"cannot replace", plans[i].path, status) + RestoreFirst(plans, i, files)};
    }
  }
  return {};
}

std::u16string RestoreFileSet(const std::vector<FileRenamePlan>& plans, FileOperations& files) {
  return RestoreFirst(plans, plans.size(), files);
}

}  // namespace qm
