#include "rename/file_set_commit.h"

#include <string_view>

namespace qm {
namespace {

using platform::FileRewriteStatus;
using platform::FileRewriteStep;

std::u16string Ascii(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string Describe(std::u16string_view what, std::u16string_view path,
                        const FileRewriteStatus& status) {
  std::u16string message(what);
  message.append(u" ").append(path);
  switch (platform::WriteFailureOf(status.systemError)) {
    case platform::WriteFailure::kReadOnly:
      message.append(u": the folder or the file is read-only");
      break;
    case platform::WriteFailure::kNoSpace:
      message.append(u": the disk is full");
      break;
    case platform::WriteFailure::kOther:
      break;
  }
  if (status.systemError != 0) {
    message.append(u" (system error ").append(Ascii(std::to_string(status.systemError)));
    message.append(u")");
  }
  return message;
}

CommitOutcome Failed(CommitStatus status, std::u16string message, const FileRewriteStatus& why) {
  return {status, std::move(message),
          why.systemError != 0 ? platform::WriteFailureOf(why.systemError)
                               : platform::WriteFailure::kOther};
}

void RemoveAll(const std::vector<std::u16string>& paths, size_t from, FileOperations& files) {
  for (size_t i = from; i < paths.size(); ++i) {
    if (!paths[i].empty()) files.Remove(paths[i]);
  }
}

}  // namespace

CommitOutcome FileSetCommit::Commit() {
  std::vector<std::u16string> newPaths;
  newPaths.reserve(plans_.size());
  for (const FileChangePlan& plan : plans_) {
    std::u16string newPath;
    const FileRewriteStatus status = files_.WriteBeside(plan.path, NewBytesOf(plan), &newPath);
    if (!status.ok()) {
      RemoveAll(newPaths, 0, files_);
      return Failed(CommitStatus::kFailed,
                    Describe(u"cannot write the new text of", plan.path, status), status);
    }
    newPaths.push_back(std::move(newPath));
  }
  std::string current;
  for (const FileChangePlan& plan : plans_) {
    const FileRewriteStatus status = files_.ReadWhole(plan.path, &current);
    if (!status.ok() || current != plan.oldBytes) {
      RemoveAll(newPaths, 0, files_);
      return {CommitStatus::kChanged,
              plan.path + u" changed on disk after it was read; nothing was renamed"};
    }
  }
  // A second name for each original, so that putting it back is a rename;
  // where the file system has no hard links, a copy, made while every
  // original is still in place.
  std::vector<std::u16string> kept(plans_.size());
  for (size_t i = 0; i < plans_.size(); ++i) {
    FileRewriteStatus status = files_.LinkBeside(plans_[i].path, &kept[i]);
    if (!status.ok()) status = files_.WriteBeside(plans_[i].path, plans_[i].oldBytes, &kept[i]);
    if (!status.ok()) {
      RemoveAll(newPaths, 0, files_);
      RemoveAll(kept, 0, files_);
      return Failed(CommitStatus::kFailed,
                    Describe(u"cannot keep the old text of", plans_[i].path, status), status);
    }
  }
  kept_ = std::move(kept);
  // The renames are made durable together, each folder synced once.
  for (size_t i = 0; i < plans_.size(); ++i) {
    const FileRewriteStatus status =
        files_.Replace(newPaths[i], plans_[i].path, platform::FolderSync::kLater);
    if (!status.ok()) {
      RemoveAll(newPaths, i, files_);
      std::u16string message = Describe(u"cannot replace", plans_[i].path, status) + RestoreFirst(i);
      RemoveAll(kept_, i, files_);  // those originals were never replaced
      kept_.clear();
      // A file the folder let be written beside it is not read-only; a
      // refused rename is a file in use (Windows) or a change under way.
      return {CommitStatus::kFailed, std::move(message)};
    }
  }
  std::vector<std::u16string> paths;
  paths.reserve(plans_.size());
  for (const FileChangePlan& plan : plans_) paths.push_back(plan.path);
  size_t failedAt = 0;
  const FileRewriteStatus synced = files_.SyncFolders(paths, &failedAt);
  if (!synced.ok()) {
    // Every new name is in place, but perhaps not on the disk: all go back.
    std::u16string message =
        Describe(u"cannot make the new names durable in the folder of", paths[failedAt], synced) +
        RestoreFirst(plans_.size());
    kept_.clear();
    return {CommitStatus::kFailed, std::move(message)};
  }
  return {};
}

std::u16string FileSetCommit::Undo() {
  std::u16string unrestored = RestoreFirst(kept_.size());
  kept_.clear();
  return unrestored;
}

// A kept original that cannot be renamed back stays where it is, and the
// message says where.
std::u16string FileSetCommit::RestoreFirst(size_t count) {
  std::u16string unrestored;
  for (size_t i = 0; i < count && i < kept_.size(); ++i) {
    const FileRewriteStatus status =
        files_.Replace(kept_[i], plans_[i].path, platform::FolderSync::kNow);
    if (status.ok() || status.failed == FileRewriteStep::kSyncFolder) continue;
    unrestored.append(unrestored.empty() ? u"" : u", ").append(plans_[i].path);
    unrestored.append(u" (its old text is in ").append(kept_[i]).append(u")");
  }
  return unrestored.empty() ? std::u16string()
                            : u"; these files could not be written back: " + unrestored;
}

void FileSetCommit::Finish() {
  RemoveAll(kept_, 0, files_);
  kept_.clear();
}

}  // namespace qm
