#include "find/files/buffered_file_results.h"

#include <utility>

namespace qm {

BufferedFileResults::~BufferedFileResults() {
  if (filling_) pool_->Give(std::move(filling_));
  for (std::unique_ptr<ResultChunk>& chunk : filled_) pool_->Give(std::move(chunk));
}

void BufferedFileResults::Take(const FindResult& result) {
  if (dropping_) return;
  if (!started_) {
    shared_ = result;
    started_ = true;
  }
  const size_t units = result.matchedText.size();
  if (filling_ && !filling_->Fits(units)) {
    {
      const std::lock_guard lock(mutex_);
      filled_.push_back(std::move(filling_));
    }
    if (parts_ != nullptr && !parts_->PartReady()) {
      dropping_ = true;
      return;
    }
  }
  if (!filling_) filling_ = pool_->Take();
  filling_->lines.push_back({result.recordId, result.column, filling_->texts.size(), units});
  filling_->texts.append(result.matchedText);
}

void BufferedFileResults::HandChunkTo(std::unique_ptr<ResultChunk> chunk, ResultSink& sink) {
  for (const BufferedLine& line : chunk->lines) {
    shared_.recordId = line.recordId;
    shared_.column = line.column;
    shared_.matchedText.assign(chunk->texts, line.textStart, line.textLength);
    sink.Take(shared_);
  }
  pool_->Give(std::move(chunk));
}

void BufferedFileResults::HandFilledTo(ResultSink& sink) {
  {
    const std::lock_guard lock(mutex_);
    handing_.swap(filled_);
  }
  for (std::unique_ptr<ResultChunk>& chunk : handing_) HandChunkTo(std::move(chunk), sink);
  handing_.clear();
}

void BufferedFileResults::HandRestTo(ResultSink& sink) {
  HandFilledTo(sink);
  if (filling_) HandChunkTo(std::move(filling_), sink);
  started_ = false;
  dropping_ = false;
  parts_ = nullptr;
  matchLimitReached = false;
}

}  // namespace qm
