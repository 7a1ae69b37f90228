// The streamed finds, ordinals 18 and 19.
#include <algorithm>
#include <cstdint>

#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "core/project_find.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {
namespace {

constexpr int32_t kKnownFindFlags = kQmFindMatchCase;

// Hands each result to the application's handler until it says stop.
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

bool FlagsKnown(int32_t flags) { return (flags & ~kKnownFindFlags) == 0; }

// QmFind's rule: exactly 1 asks for a case-sensitive find.
int32_t MatchCaseOf(int32_t flags) { return (flags & kQmFindMatchCase) != 0 ? 1 : 0; }

}  // namespace
}  // namespace qm

using qm::GuardExport;
using qm::HandlerSink;

extern "C" {

QMPE_API int32_t QM_CALL QmFindEach(qm::CEditorManager* manager, const char16_t* scope,
                                    const char16_t* text, int32_t flags, QmFindHandler handler,
                                    void* context) {
  if (manager == nullptr || handler == nullptr || !qm::FlagsKnown(flags)) return -1;
  return GuardExport<int32_t>(-1, [&] {
    HandlerSink sink(handler, context);
    if (!manager->Find(scope, text, qm::MatchCaseOf(flags), sink)) return -1;
    return sink.delivered();
  });
}

QMPE_API int32_t QM_CALL QmFindInProject(const char16_t* projectPath, const char16_t* scope,
                                         const char16_t* text, int32_t flags, QmFindHandler handler,
                                         void* context) {
  if (projectPath == nullptr || handler == nullptr || !qm::FlagsKnown(flags)) return -1;
  return GuardExport<int32_t>(-1, [&] {
    HandlerSink sink(handler, context);
    switch (qm::FindInProject(projectPath, scope, text, qm::MatchCaseOf(flags), sink)) {
      case qm::ProjectFindStatus::kDone:
        return sink.delivered();
      case qm::ProjectFindStatus::kNoText:
        return -1;
      case qm::ProjectFindStatus::kCannotOpen:
        return -2;
    }
    return -1;
  });
}

}  // extern "C"
