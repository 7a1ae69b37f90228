// Applying a checked import (import_preview.h): the preconditions, the
// edits in the working set, the save, and the way back when it fails.
#include <string>

#include "config/config_manager.h"
#include "config/owner_names.h"
#include "exchange/import_preview.h"
#include "qmcfg/qmcfg.h"
#include "registry/registry_operations.h"

namespace qm::exchange {
namespace {

std::u16string Number(int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

ApplyOutcome Stop(ApplyStatus status, std::u16string message) {
  return {status, std::move(message)};
}

// Devices and tags carry their owner's Name: a port or a device that got a
// new one passes it on, in the working set and in the snapshot.
OwnerNames NewNames(const ImportPreview& preview) {
  OwnerNames names;
  if (!OwnedSlot(preview.tableNumber)) return names;
  for (const RecordChange& change : preview.changes) {
    if (change.renamed) names[change.id] = change.name;
  }
  return names;
}

}  // namespace

ApplyOutcome ApplyImport(const ImportPreview& preview, EditorData& editor, int32_t editorId) {
  if (!preview.problems.empty() || preview.edits == nullptr) {
    return Stop(ApplyStatus::kRefused, u"the file has problems; nothing can be applied");
  }
  CConfigManagerEx* config = editor.configManager;
  ConfigTableSet* working = config != nullptr ? config->GetTables(true) : nullptr;
  if (working == nullptr) return Stop(ApplyStatus::kRefused, u"no project is open");
  if (preview.changes.empty()) return {};
  int32_t holder = 0;
  if (GetEditor(editor.projectPath.c_str(), &holder) && holder != editorId) {
    return Stop(ApplyStatus::kRefused, u"the project is open in editor " + Number(holder) +
                                           u"; close it there or import from that editor");
  }
  if (platform::StampOfFile(editor.projectPath) != preview.projectStamp ||
      editor.projectPath != preview.projectPath) {
    return Stop(ApplyStatus::kRefused,
                u"the project file changed since the preview; check the import again");
  }
  if (!preview.edits->StillApplies(*working)) {
    return Stop(ApplyStatus::kRefused,
                u"the table changed in the editor since the preview; check the import again");
  }
  if (CfgPrepareSave(config->GetConfigHandle(), working, preview.tableNumber, -1) ==
      kCfgReadOnly) {
    return Stop(ApplyStatus::kReadOnly, u"the project file cannot be written; nothing was changed");
  }
  preview.edits->Make(working);
  const int32_t saved = config->Save(preview.tableNumber, -1);
  if (saved != 0) {
    // A whole-table save writes in one transaction and then reads the
    // table back into the working set: after a failed write the working
    // table is still ours to undo.
    preview.edits->Undo(config->GetTables(true));
    return Stop(saved == kCfgReadOnly ? ApplyStatus::kReadOnly : ApplyStatus::kFailed,
                u"cannot save table " + Number(preview.tableNumber) + u" (code " + Number(saved) +
                    (saved == kCfgReadOnly ? u": the project file is read-only)"
                                           : u"); the editor's table is as before"));
  }
  PassOnOwnerNames(config, preview.tableNumber, NewNames(preview));
  return {};
}

}  // namespace qm::exchange
