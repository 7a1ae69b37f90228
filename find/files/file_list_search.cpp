#include "find/files/file_list_search.h"

#include <optional>

#include "find/files/buffered_file_results.h"
#include "find/files/file_search.h"
#include "find/files/ordered_file_pool.h"

namespace qm {
namespace {

class FileListWork final : public OrderedFileWork {
 public:
  FileListWork(const SearchNeedle& needle, const std::vector<std::u16string>& fullPaths,
               std::u16string_view projectFolder, size_t workers, ResultSink& sink)
      : needle_(needle),
        fullPaths_(fullPaths),
        projectFolder_(projectFolder),
        sink_(sink),
        searchers_(workers),
        slots_(OrderedFilePool::SlotCount(workers)) {}

  void Work(size_t worker, size_t index, size_t slot) override {
    std::optional<FileSearcher>& searcher = searchers_[worker];
    if (!searcher) searcher.emplace(SearchNeedle(needle_.text(), needle_.options()));
    BufferedFileResults& results = slots_[slot];
    searcher->SearchFile(fullPaths_[index], projectFolder_, results);
    // A needle remembers a match past the limit for good, so a worker's
    // first file past it is the one to report.
    results.matchLimitReached = searcher->matchLimitReached();
  }

  bool Release(size_t /*index*/, size_t slot) override {
    BufferedFileResults& results = slots_[slot];
    results.HandTo(sink_);
    if (results.matchLimitReached) limitReached_ = true;
    results.Clear();
    return !limitReached_ && !sink_.Done();
  }

  bool limitReached() const { return limitReached_; }

 private:
  const SearchNeedle& needle_;
  const std::vector<std::u16string>& fullPaths_;
  const std::u16string_view projectFolder_;
  ResultSink& sink_;
  std::vector<std::optional<FileSearcher>> searchers_;
  std::vector<BufferedFileResults> slots_;
  bool limitReached_ = false;
};

}  // namespace

FileListStatus SearchFileList(const SearchNeedle& needle,
                              const std::vector<std::u16string>& fullPaths,
                              std::u16string_view projectFolder, size_t workers,
                              ResultSink& sink) {
  FileListWork work(needle, fullPaths, projectFolder, workers, sink);
  OrderedFilePool::Run(fullPaths.size(), workers, work);
  return work.limitReached() ? FileListStatus::kMatchLimit : FileListStatus::kDone;
}

}  // namespace qm
