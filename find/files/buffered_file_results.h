// The results of one file, held from its search until its turn to be
// handed on comes, and handed on in chunks while the search goes on once
// it has.
#ifndef QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_
#define QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_

#include <memory>
#include <mutex>
#include <vector>

#include "find/files/ordered_file_pool.h"
#include "find/files/result_chunk_pool.h"
#include "find/result_sink.h"

namespace qm {

// The results of one file search differ only in line, column and matched
// text (find/files/file_search.h), so each is kept as those three, the
// texts end to end in a chunk's store, and the other fields once: a few
// bytes beside its text instead of a FindResult's six strings.
//
// One thread searches (Begin, Take) while another hands on (HandFilledTo,
// then HandRestTo once the search has ended); the chunks filled are what
// passes between them.
class BufferedFileResults final : public ResultSink {
 public:
  explicit BufferedFileResults(ResultChunkPool* pool) : pool_(pool) {}
  ~BufferedFileResults() override;
  BufferedFileResults(const BufferedFileResults&) = delete;
  BufferedFileResults& operator=(const BufferedFileResults&) = delete;

  // Before a file's first result: `parts` is told each time a chunk fills
  // (and may make the search wait there).
  void Begin(FilePartSignal* parts) { parts_ = parts; }

  // Keeps `result`; its fields but these three must be those of the first
  // result taken since the last HandRestTo.
  void Take(const FindResult& result) override;

  // Hands the results of the chunks filled so far to `sink`, in the order
  // taken, while the search may go on.
  void HandFilledTo(ResultSink& sink);

  // Once the search has ended: hands the results not yet handed on to
  // `sink`, in the order taken, each one also to a sink that is done, as
  // the search handed them over. Then the chunks go back to the pool and
  // the next file may begin.
  void HandRestTo(ResultSink& sink);

  // Set by the searcher when the file's matching ran past the match limit.
  bool matchLimitReached = false;

 private:
  void HandChunkTo(std::unique_ptr<ResultChunk> chunk, ResultSink& sink);

  ResultChunkPool* pool_;
  FilePartSignal* parts_ = nullptr;
  bool started_ = false;  // the searcher's: shared_ holds this file's fields
  bool dropping_ = false;  // the searcher's: nothing more will be handed on
  // The first result: written by the searcher before its first chunk is
  // passed on, then only by the thread that hands on.
  FindResult shared_;
  std::unique_ptr<ResultChunk> filling_;  // the searcher's
  std::mutex mutex_;
  std::vector<std::unique_ptr<ResultChunk>> filled_;  // under mutex_
  std::vector<std::unique_ptr<ResultChunk>> handing_;  // the handing thread's
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_
