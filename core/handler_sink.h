// Hands each result to the application's handler until it says stop.
#ifndef QMPECORE_CORE_HANDLER_SINK_H_
#define QMPECORE_CORE_HANDLER_SINK_H_

#include <algorithm>
#include <cstdint>

#include "find/result_sink.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {

class HandlerSink final : public ResultSink {
 public:
  HandlerSink(QmFindHandler handler, void* context) : handler_(handler), context_(context) {}
  void Take(const FindResult& result) override {
    if (done_) return;
    ++delivered_;
    done_ = handler_(context_, &result) == 0;
  }
  bool Done() const override { return done_; }
  int32_t delivered() const {
    return static_cast<int32_t>(std::min<uint64_t>(delivered_, INT32_MAX));
  }

 private:
  QmFindHandler handler_;
  void* context_;
  uint64_t delivered_ = 0;
  bool done_ = false;
};

}  // namespace qm

#endif  // QMPECORE_CORE_HANDLER_SINK_H_
