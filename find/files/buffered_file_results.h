// The results of one file, held from its search until its turn to be
// handed on comes.
#ifndef QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_
#define QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "find/result_sink.h"

namespace qm {

// The results of one file search differ only in line, column and matched
// text (find/files/file_search.h), so each is kept as those three, the
// texts end to end in one store, and the other fields once: a few bytes
// beside its text instead of a FindResult's six strings.
class BufferedFileResults final : public ResultSink {
 public:
  // Keeps `result`; its fields but these three must be those of the first
  // result taken since the last Clear.
  void Take(const FindResult& result) override;

  // Hands the results to `sink` in the order taken, as the search handed
  // them over: each one also to a sink that is done.
  void HandTo(ResultSink& sink);

  // Forgets the results; keeps the storage unless it grew large, so that
  // buffers waiting for their next file hold little.
  void Clear();

  // Set by the searcher when the file's matching ran past the match limit.
  bool matchLimitReached = false;

 private:
  struct Line {
    int32_t recordId;
    int32_t column;
    size_t textStart;
    size_t textLength;
  };

  FindResult shared_;  // the first result, its fields shared by all
  std::vector<Line> lines_;
  std::u16string texts_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_BUFFERED_FILE_RESULTS_H_
