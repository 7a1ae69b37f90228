// The project check, ordinal 40.
#include <algorithm>
#include <cstdint>
#include <string>

#include "check/project_check.h"
#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {
namespace {

// Hands each finding to the application's handler as zero-terminated
// texts, kept in buffers that are reused from one finding to the next.
class HandlerFindings final : public FindingSink {
 public:
  HandlerFindings(QmCheckHandler handler, void* context) : handler_(handler), context_(context) {}

  bool Take(const CheckFinding& finding) override {
    name_.assign(finding.name);
    field_.assign(finding.field);
    file_.assign(finding.file);
    const QmCheckFinding shown{static_cast<int32_t>(finding.kind),
                               finding.table,
                               finding.recordId,
                               finding.line,
                               name_.c_str(),
                               field_.c_str(),
                               file_.c_str(),
                               finding.message.c_str()};
    ++delivered_;
    return handler_(context_, &shown) != 0;
  }
  int32_t delivered() const { return static_cast<int32_t>(std::min<uint64_t>(delivered_, INT32_MAX)); }

 private:
  QmCheckHandler handler_;
  void* context_;
  std::u16string name_, field_, file_;
  uint64_t delivered_ = 0;
};

}  // namespace
}  // namespace qm

extern "C" {

QMPE_API int32_t QM_CALL QmCheckProject(qm::CEditorManager* manager, QmCheckHandler handler,
                                        void* context) {
  if (manager == nullptr || handler == nullptr) return -1;
  return qm::GuardExport<int32_t>(-1, [&]() -> int32_t {
    qm::EditorData* editor = manager->editorData();
    if (editor == nullptr || editor->configManager == nullptr) return -1;
    const qm::ConfigTableSet* tables = editor->configManager->GetTables(true);
    if (tables == nullptr) return -1;
    qm::HandlerFindings findings(handler, context);
    qm::CheckProject({*tables, editor->fileManager}, &findings);
    return findings.delivered();
  });
}

}  // extern "C"
