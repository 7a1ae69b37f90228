#include "find/files/result_chunk_pool.h"

namespace qm {

std::unique_ptr<ResultChunk> ResultChunkPool::Take() {
  {
    const std::lock_guard lock(mutex_);
    if (!free_.empty()) {
      std::unique_ptr<ResultChunk> chunk = std::move(free_.back());
      free_.pop_back();
      return chunk;
    }
  }
  auto chunk = std::make_unique<ResultChunk>();
  chunk->lines.reserve(ResultChunk::kLines);
  chunk->texts.reserve(ResultChunk::kTextUnits);
  return chunk;
}

void ResultChunkPool::Give(std::unique_ptr<ResultChunk> chunk) {
  chunk->lines.clear();
  // A chunk that one long line made large goes back to the usual size.
  if (chunk->texts.capacity() > 4 * ResultChunk::kTextUnits) {
    std::u16string().swap(chunk->texts);
    chunk->texts.reserve(ResultChunk::kTextUnits);
  } else {
    chunk->texts.clear();
  }
  const std::lock_guard lock(mutex_);
  free_.push_back(std::move(chunk));
}

}  // namespace qm
