#include "find/result_sink.h"

#include <algorithm>
#include <iterator>

#include "platform/memory_advice.h"

namespace qm {
namespace {

// Below this a storage spans too few large pages to be worth moving by
// hand; push_back's own growth serves.
constexpr size_t kLargeStorageBytes = size_t{4} << 20;

void Grow(FindResultList* results) {
  const size_t capacity = std::max<size_t>(results->capacity() * 2, 1);
  if (capacity * sizeof(FindResult) < kLargeStorageBytes) {
    results->reserve(capacity);
    return;
  }
  FindResultList grown;
  grown.reserve(capacity);
  platform::PreferLargePages(grown.data(), capacity * sizeof(FindResult));
  std::move(results->begin(), results->end(), std::back_inserter(grown));
  results->swap(grown);
}

}  // namespace

void ResultListSink::Take(const FindResult& result) {
  if (results_->size() == results_->capacity()) Grow(results_);
  results_->push_back(result);
}

}  // namespace qm
