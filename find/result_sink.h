// Where a find delivers its results: one at a time, in find order, to a
// receiver that either keeps them (the caller's result list) or passes each
// on as it comes (a printer, the application's handler).
#ifndef QMPECORE_FIND_RESULT_SINK_H_
#define QMPECORE_FIND_RESULT_SINK_H_

#include "qmpecore/find_result.h"

namespace qm {

class ResultSink {
 public:
  virtual ~ResultSink() = default;

  // `result` lives only for the call: the searchers fill one result in
  // place and hand it over for each hit.
  virtual void Take(const FindResult& result) = 0;

  // True once the receiver wants no more results. The find then ends before
  // its next table or file; results of the current one still arrive and may
  // be dropped.
  virtual bool Done() const { return false; }
};

// Appends to the caller's list, which a common search text in a large
// project grows to hundreds of thousands of results. When the list is full
// its storage doubles, as push_back's would; a large new storage is first
// put on large pages and only then are the results moved into it, which
// makes filling it several times cheaper where page faults are dear.
// Results already in the list keep their order and values.
class ResultListSink final : public ResultSink {
 public:
  explicit ResultListSink(FindResultList* results) : results_(results) {}
  void Take(const FindResult& result) override;

 private:
  FindResultList* results_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_RESULT_SINK_H_
