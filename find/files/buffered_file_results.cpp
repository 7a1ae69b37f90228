#include "find/files/buffered_file_results.h"

namespace qm {
namespace {

// Storage above this is given back once its file has been handed on.
constexpr size_t kKeptTextUnits = size_t{1} << 19;
constexpr size_t kKeptLines = size_t{1} << 15;

}  // namespace

void BufferedFileResults::Take(const FindResult& result) {
  if (lines_.empty()) shared_ = result;
  lines_.push_back({result.recordId, result.column, texts_.size(), result.matchedText.size()});
  texts_.append(result.matchedText);
}

void BufferedFileResults::HandTo(ResultSink& sink) {
  for (const Line& line : lines_) {
    shared_.recordId = line.recordId;
    shared_.column = line.column;
    shared_.matchedText.assign(texts_, line.textStart, line.textLength);
    sink.Take(shared_);
  }
}

void BufferedFileResults::Clear() {
  matchLimitReached = false;
  if (texts_.capacity() > kKeptTextUnits) {
    std::u16string().swap(texts_);
  } else {
    texts_.clear();
  }
  if (lines_.capacity() > kKeptLines) {
    std::vector<Line>().swap(lines_);
  } else {
    lines_.clear();
  }
}

}  // namespace qm
