#include "replace/replaced_files.h"

#include <memory>

#include "find/files/ordered_file_pool.h"
#include "find/search_needle.h"
#include "replace/file_replace.h"
#include "replace/text_replacer.h"

namespace qm {
namespace {

// A compiled pattern's match block serves one thread: each worker has its
// own needle and replacer.
struct WorkerReplacer {
  WorkerReplacer(std::u16string_view text, const FindOptions& options,
                 const std::u16string& replacement)
      : needle(text, options), replacer(needle, replacement) {}
  SearchNeedle needle;
  TextReplacer replacer;
};

struct PlannedFile {
  FileReplaceStatus status = FileReplaceStatus::kUnchanged;
  ReplaceStatus failure = ReplaceStatus::kDone;
  std::u16string message;
  FileChangePlan plan;
};

class FilePlanWork final : public OrderedFileWork {
 public:
  FilePlanWork(const std::vector<ReplacedFile>& files, std::u16string_view text,
               const FindOptions& options, const std::u16string& replacement, size_t workers,
               FileOperations& operations)
      : files_(files), operations_(operations), slots_(OrderedFilePool::SlotCount(workers)) {
    for (size_t i = 0; i < workers; ++i) {
      replacers_.push_back(std::make_unique<WorkerReplacer>(text, options, replacement));
    }
  }

  void Work(size_t worker, size_t index, size_t slot, FilePartSignal& /*parts*/) override {
    const ReplacedFile& file = files_[index];
    PlannedFile& planned = slots_[slot];
    planned = PlannedFile();
    planned.plan.path = file.path;
    planned.plan.location = file.location;
    std::string bytes;
    const platform::FileRewriteStatus read = operations_.ReadWhole(file.path, &bytes);
    if (!read.ok()) {
      const std::string code = std::to_string(read.systemError);
      planned.status = FileReplaceStatus::kFailed;
      planned.failure = ReplaceStatus::kFailed;
      planned.message = u"cannot read " + file.path + u" (system error " +
                        std::u16string(code.begin(), code.end()) + u")";
      return;
    }
    std::u16string error;
    planned.status = PlanFileReplace(std::move(bytes), file.lines, replacers_[worker]->replacer,
                                     &planned.plan, &error);
    if (planned.status == FileReplaceStatus::kFailed) {
      planned.failure = ReplaceStatus::kRefused;
      planned.message = file.path + u": " + error;
    }
  }

  bool Release(size_t index, size_t slot) override {
    PlannedFile& planned = slots_[slot];
    if (planned.status == FileReplaceStatus::kFailed) {
      failure_ = planned.failure;
      message_ = std::move(planned.message);
      return false;
    }
    if (planned.status == FileReplaceStatus::kChanged) {
      taken_.push_back({index, std::move(planned.plan)});
    }
    return true;
  }

  struct Taken {
    size_t index;
    FileChangePlan plan;
  };
  std::vector<Taken> taken_;  // in file order
  ReplaceStatus failure_ = ReplaceStatus::kDone;
  std::u16string message_;

 private:
  const std::vector<ReplacedFile>& files_;
  FileOperations& operations_;
  std::vector<PlannedFile> slots_;
  std::vector<std::unique_ptr<WorkerReplacer>> replacers_;
};

}  // namespace

void PlanReplacedFiles(const std::vector<ReplacedFile>& files, std::u16string_view text,
                       const FindOptions& options, const std::u16string& replacement,
                       FileOperations& operations, ReplacePreview* preview) {
  if (files.empty()) return;
  const size_t workers = OrderedFilePool::WidthFor(options.fileWorkers, files.size());
  FilePlanWork work(files, text, options, replacement, workers, operations);
  OrderedFilePool::Run(files.size(), workers, work);
  if (work.failure_ != ReplaceStatus::kDone) {
    preview->status = work.failure_;
    preview->message = std::move(work.message_);
    return;
  }
  // Each file's lines stay in its plan, which the listing reads them from.
  for (auto& [index, plan] : work.taken_) {
    for (const LineChange& line : plan.lines) preview->replaced += line.occurrences;
    preview->fieldChangesBeforeFile.push_back(files[index].changesBefore);
    preview->files.push_back(std::move(plan));
  }
}

}  // namespace qm
