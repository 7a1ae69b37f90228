// Blocks of buffered file results, passed from the worker that fills them
// to the thread that hands them on, and back for reuse.
#ifndef QMPECORE_FIND_FILES_RESULT_CHUNK_POOL_H_
#define QMPECORE_FIND_FILES_RESULT_CHUNK_POOL_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qm {

// One result of a file search: what differs from the file's other results,
// its text kept in the chunk's store.
struct BufferedLine {
  int32_t recordId;
  int32_t column;
  size_t textStart;
  size_t textLength;
};

struct ResultChunk {
  static constexpr size_t kLines = 1024;
  static constexpr size_t kTextUnits = size_t{1} << 15;

  // False when `units` more would pass either capacity; an empty chunk
  // takes any line, however long.
  bool Fits(size_t units) const {
    return lines.empty() ||
           (lines.size() < kLines && texts.size() + units <= texts.capacity());
  }

  std::vector<BufferedLine> lines;
  std::u16string texts;
};

// Chunks once used are kept for the rest of the find rather than freed:
// a worker thread's freed memory goes back to the system, and touching it
// again costs a page fault per page, which for a common needle was more
// than the search itself. So a find holds at most as many chunks as it
// ever had results waiting at once.
class ResultChunkPool {
 public:
  // An empty chunk with its full capacity; from any thread.
  std::unique_ptr<ResultChunk> Take();

  // Keeps `chunk` for reuse; from any thread.
  void Give(std::unique_ptr<ResultChunk> chunk);

 private:
  std::mutex mutex_;
  std::vector<std::unique_ptr<ResultChunk>> free_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_RESULT_CHUNK_POOL_H_
