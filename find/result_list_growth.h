// Appending to the caller's result list, which a common search text in a
// large project grows to hundreds of thousands of results.
#ifndef QMPECORE_FIND_RESULT_LIST_GROWTH_H_
#define QMPECORE_FIND_RESULT_LIST_GROWTH_H_

#include "qmpecore/find_result.h"

namespace qm {

// Appends a copy of `result`. When the list is full its storage doubles, as
// push_back's would; a large new storage is first put on large pages and
// only then are the results moved into it, which makes filling it several
// times cheaper where page faults are dear. Results already in the list
// keep their order and values.
void AppendResult(const FindResult& result, FindResultList* results);

}  // namespace qm

#endif  // QMPECORE_FIND_RESULT_LIST_GROWTH_H_
