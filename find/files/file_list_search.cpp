#include "find/files/file_list_search.h"

#include <memory>
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
        searchers_(workers) {
    const size_t slots = OrderedFilePool::SlotCount(workers);
    slots_.reserve(slots);
    for (size_t slot = 0; slot < slots; ++slot) {
      slots_.push_back(std::make_unique<BufferedFileResults>(&chunks_));
    }
  }

  void Work(size_t worker, size_t index, size_t slot, FilePartSignal& parts) override {
    BufferedFileResults& results = *slots_[slot];
    results.Begin(&parts);
    FileSearcher& searcher = SearcherOf(worker);
    searcher.SearchFile(fullPaths_[index], projectFolder_, results);
    // A needle remembers a match past the limit for good, so a worker's
    // first file past it is the one to report.
    results.matchLimitReached = searcher.matchLimitReached();
  }

  void ReleasePart(size_t /*index*/, size_t slot) override { slots_[slot]->HandFilledTo(sink_); }

  bool Release(size_t /*index*/, size_t slot) override {
    BufferedFileResults& results = *slots_[slot];
    if (results.matchLimitReached) limitReached_ = true;
    results.HandRestTo(sink_);
    return Continues();
  }

  // Every earlier file has been handed on, so this one's results go
  // straight to the sink.
  bool WorkAndRelease(size_t worker, size_t index, size_t /*slot*/) override {
    FileSearcher& searcher = SearcherOf(worker);
    searcher.SearchFile(fullPaths_[index], projectFolder_, sink_);
    if (searcher.matchLimitReached()) limitReached_ = true;
    return Continues();
  }

  bool limitReached() const { return limitReached_; }

 private:
  FileSearcher& SearcherOf(size_t worker) {
    std::optional<FileSearcher>& searcher = searchers_[worker];
    if (!searcher) searcher.emplace(SearchNeedle(needle_.text(), needle_.options()));
    return *searcher;
  }
  bool Continues() const { return !limitReached_ && !sink_.Done(); }

  const SearchNeedle& needle_;
  const std::vector<std::u16string>& fullPaths_;
  const std::u16string_view projectFolder_;
  ResultSink& sink_;
  std::vector<std::optional<FileSearcher>> searchers_;
  // Declared before the slots, which give their chunks back as they go.
  ResultChunkPool chunks_;
  std::vector<std::unique_ptr<BufferedFileResults>> slots_;
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
