#include "find/result_list_growth.h"

#include <algorithm>
#include <iterator>

#include "platform/memory_advice.h"

namespace qm {
namespace {

// Below this a storage spans too few large pages to be worth moving by
// hand; push_back's own growth serves.
constexpr size_t kLargeStorageBytes = size_t{4} << 20;

// Makes room for at least `needed` results in all.
void Grow(FindResultList* results, size_t needed) {
  const size_t capacity = std::max(results->capacity() * 2, needed);
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

void AppendResult(const FindResult& result, FindResultList* results) {
  if (results->size() == results->capacity()) Grow(results, results->size() + 1);
  results->push_back(result);
}

void AppendResults(FindResultList* from, FindResultList* results) {
  if (results->empty() && from->capacity() > results->capacity()) {
    results->swap(*from);
    return;
  }
  if (results->capacity() - results->size() < from->size())
    Grow(results, results->size() + from->size());
  std::move(from->begin(), from->end(), std::back_inserter(*results));
}

}  // namespace qm
