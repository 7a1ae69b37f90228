// The streamed finds, the check of a find's text and its matcher,
// ordinals 18 to 23 and 28, and the lines around a file result, 41.
#include <algorithm>
#include <memory>
#include <cstdint>
#include <vector>

#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "core/find_flags.h"
#include "core/handler_sink.h"
#include "core/message_copy.h"
#include "core/project_find.h"
#include "find/files/file_lines.h"
#include "find/search_needle.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {
namespace {

int32_t Answer(FindStatus status, const HandlerSink& sink) {
  switch (status) {
    case FindStatus::kDone:
      return sink.delivered();
    case FindStatus::kBadPattern:
      return kQmFindBadPattern;
    case FindStatus::kMatchLimit:
      return kQmFindMatchLimit;
  }
  return kQmFindBadArguments;
}

}  // namespace
}  // namespace qm

// The matcher handed out is a needle.
struct QmFindMatcher {
  qm::SearchNeedle needle;
};

using qm::GuardExport;
using qm::HandlerSink;

extern "C" {

QMPE_API int32_t QM_CALL QmFindEach(qm::CEditorManager* manager, const char16_t* scope,
                                    const char16_t* text, int32_t flags, QmFindHandler handler,
                                    void* context) {
  if (manager == nullptr || handler == nullptr || !qm::FlagsKnown(flags)) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    HandlerSink sink(handler, context);
    const auto status = manager->Find(scope, text, qm::OptionsOf(flags), sink);
    return status ? qm::Answer(*status, sink) : kQmFindBadArguments;
  });
}

QMPE_API int32_t QM_CALL QmFindInProject(const char16_t* projectPath, const char16_t* scope,
                                         const char16_t* text, int32_t flags, QmFindHandler handler,
                                         void* context) {
  return QmFindInProjectEx(projectPath, scope, text, flags, handler, context, nullptr, nullptr);
}

QMPE_API int32_t QM_CALL QmFindInProjectEx(const char16_t* projectPath, const char16_t* scope,
                                           const char16_t* text, int32_t flags,
                                           QmFindHandler handler, void* context,
                                           QmUnreadFolderHandler folderHandler,
                                           void* folderContext) {
  if (projectPath == nullptr || handler == nullptr || !qm::FlagsKnown(flags)) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    HandlerSink sink(handler, context);
    switch (qm::FindInProject(projectPath, scope, text, qm::OptionsOf(flags), sink,
                              folderHandler, folderContext)) {
      case qm::ProjectFindStatus::kDone:
        return sink.delivered();
      case qm::ProjectFindStatus::kNoText:
        return kQmFindBadArguments;
      case qm::ProjectFindStatus::kCannotOpen:
        return kQmFindCannotOpen;
      case qm::ProjectFindStatus::kBadPattern:
        return kQmFindBadPattern;
      case qm::ProjectFindStatus::kMatchLimit:
        return kQmFindMatchLimit;
    }
    return kQmFindBadArguments;
  });
}

QMPE_API int32_t QM_CALL QmCheckFindText(const char16_t* text, int32_t flags, char16_t* message,
                                         int32_t capacity, int32_t* offset) {
  if (text == nullptr || !qm::FlagsKnown(flags) || capacity < 0 ||
      (message == nullptr && capacity > 0)) {
    return kQmFindBadArguments;
  }
  return GuardExport<int32_t>(kQmFindBadArguments, [&]() -> int32_t {
    const qm::SearchNeedle needle(text, qm::OptionsOf(flags));
    const qm::RegexError* error = needle.patternError();
    if (error == nullptr) return 0;
    qm::CopyMessage(error->message, message, capacity);
    if (offset != nullptr) {
      *offset = static_cast<int32_t>(std::min<size_t>(error->offset, INT32_MAX));
    }
    return kQmFindBadPattern;
  });
}

QMPE_API QmFindMatcher* QM_CALL QmCreateFindMatcher(const char16_t* text, int32_t flags) {
  if (text == nullptr || !qm::FlagsKnown(flags)) return nullptr;
  return GuardExport<QmFindMatcher*>(nullptr, [&]() -> QmFindMatcher* {
    std::unique_ptr<QmFindMatcher> matcher(
        new QmFindMatcher{qm::SearchNeedle(text, qm::OptionsOf(flags))});
    if (matcher->needle.patternError() != nullptr) return nullptr;
    return matcher.release();
  });
}

QMPE_API int32_t QM_CALL QmFirstMatch(QmFindMatcher* matcher, const char16_t* subject,
                                      int32_t length, int32_t* matchLength) {
  if (matcher == nullptr || (subject == nullptr && length != 0) || length < 0) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    size_t spanLength = 0;
    const size_t at =
        matcher->needle.FindIn({subject, static_cast<size_t>(length)}, &spanLength);
    if (matcher->needle.lastMatchRanPastLimit()) return kQmFindMatchLimit;
    if (at == qm::SearchNeedle::npos) return -1;
    if (matchLength != nullptr) *matchLength = static_cast<int32_t>(spanLength);
    return static_cast<int32_t>(at);
  });
}

QMPE_API void QM_CALL QmFreeFindMatcher(QmFindMatcher* matcher) {
  GuardExport([&] { delete matcher; });
}

QMPE_API int32_t QM_CALL QmReadFileLines(const char16_t* fullPath, const int32_t* spans,
                                         int32_t spanCount, QmFileLineHandler handler,
                                         void* context) {
  if (fullPath == nullptr || handler == nullptr || spanCount < 0 ||
      (spans == nullptr && spanCount != 0)) {
    return kQmFindBadArguments;
  }
  std::vector<qm::LineSpan> lineSpans;
  for (int32_t i = 0; i < spanCount; ++i) {
    const qm::LineSpan span{spans[2 * i], spans[2 * i + 1]};
    if (span.first < 1 || span.last < span.first ||
        (!lineSpans.empty() && span.first <= lineSpans.back().last)) {
      return kQmFindBadArguments;
    }
    lineSpans.push_back(span);
  }
  return GuardExport<int32_t>(kQmFindBadArguments, [&]() -> int32_t {
    int32_t handed = 0;
    const qm::FileLinesStatus status = qm::ReadFileLines(
        fullPath, lineSpans, [&](int32_t number, std::u16string_view line) {
          ++handed;
          return handler(context, number, line.data(), static_cast<int32_t>(line.size())) != 0;
        });
    return status == qm::FileLinesStatus::kCannotRead ? kQmFindCannotOpen : handed;
  });
}

}  // extern "C"
