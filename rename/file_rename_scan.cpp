#include "rename/file_rename_scan.h"

#include "find/files/ordered_file_pool.h"
#include "rename/file_rename_plan.h"

namespace qm {
namespace {

// A file's plan stays in the list until released; its slot holds only
// whether it could be read and changes.
class RenameWork final : public OrderedFileWork {
 public:
  RenameWork(const FileRenameScan& scan, std::vector<FileChangePlan>* files, size_t workers,
             const std::function<void(FileChangePlan&&)>& take)
      : scan_(scan), files_(*files), take_(take), slots_(OrderedFilePool::SlotCount(workers)) {}

  void Work(size_t /*worker*/, size_t index, size_t slot, FilePartSignal& /*parts*/) override {
    FileChangePlan& plan = files_[index];
    Outcome& outcome = slots_[slot];
    std::string bytes;
    outcome.read = scan_.files.ReadWhole(plan.path, &bytes);
    outcome.changes =
        outcome.read.ok() && PlanFileRename(std::move(bytes), scan_.oldWord, scan_.newWord, &plan);
  }

  bool Release(size_t index, size_t slot) override {
    const Outcome& outcome = slots_[slot];
    if (!outcome.read.ok()) {
      unread_ = UnreadFile{files_[index].path, outcome.read};
      return false;
    }
    if (outcome.changes) take_(std::move(files_[index]));
    return true;
  }

  const std::optional<UnreadFile>& unread() const { return unread_; }

 private:
  struct Outcome {
    platform::FileRewriteStatus read;
    bool changes = false;
  };

  const FileRenameScan& scan_;
  std::vector<FileChangePlan>& files_;
  const std::function<void(FileChangePlan&&)>& take_;
  std::vector<Outcome> slots_;
  std::optional<UnreadFile> unread_;
};

}  // namespace

std::optional<UnreadFile> ScanFilesForRename(const FileRenameScan& scan,
                                             std::vector<FileChangePlan> files,
                                             const std::function<void(FileChangePlan&&)>& take) {
  const size_t workers = OrderedFilePool::WidthFor(scan.workers, files.size());
  RenameWork work(scan, &files, workers, take);
  OrderedFilePool::Run(files.size(), workers, work);
  return work.unread();
}

}  // namespace qm
