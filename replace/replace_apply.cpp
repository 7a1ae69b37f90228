// The apply of a replace (project_replace.h): its preconditions, the
// files, the saves of the changed tables, and the way back.
#include <algorithm>
#include <string>

#include "config/config_manager.h"
#include "config/owner_names.h"
#include "qmcfg/qmcfg.h"
#include "registry/registry_operations.h"
#include "rename/file_set_commit.h"
#include "replace/project_replace.h"
#include "replace/replaced_names.h"

namespace qm {
namespace {

std::u16string Number(int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

ReplaceOutcome Stop(ReplaceStatus status, std::u16string message) {
  return {status, std::move(message)};
}

// The changed tables, in the order of their first edit.
std::vector<int32_t> ChangedTables(const std::vector<FieldEdit>& edits) {
  std::vector<int32_t> tables;
  for (const FieldEdit& edit : edits) {
    if (std::find(tables.begin(), tables.end(), edit.tableNumber) == tables.end()) {
      tables.push_back(edit.tableNumber);
    }
  }
  return tables;
}

// Gives each edited field the text of `before` or of `after`, where the
// record still is.
void SetTexts(ConfigTableSet* set, const std::vector<FieldEdit>& edits, bool after) {
  for (const FieldEdit& edit : edits) {
    if (std::u16string* text = StoredText(*set, edit)) *text = after ? edit.after : edit.before;
  }
}

std::u16string Refusal(const ReplacePreview& preview, ConfigTableSet& working,
                       EditorData& editor, int32_t editorId) {
  if (preview.status != ReplaceStatus::kDone) return u"the preview was refused; nothing to apply";
  if (preview.applied) return u"the replace was applied already";
  int32_t holder = 0;
  if (GetEditor(editor.projectPath.c_str(), &holder) && holder != editorId) {
    return u"the project is open in editor " + Number(holder) +
           u"; close it there or replace from that editor";
  }
  if (editor.projectPath != preview.projectPath ||
      platform::StampOfFile(editor.projectPath) != preview.projectStamp) {
    return u"the project file changed since the preview; preview the replace again";
  }
  for (const FieldEdit& edit : preview.fields) {
    const std::u16string* text = StoredText(working, edit);
    if (text == nullptr || *text != edit.before) {
      return u"the tables changed in the editor since the preview; preview the replace again";
    }
  }
  return NameRefusal(working, preview.fields);
}

}  // namespace

ReplaceOutcome ApplyReplace(ReplacePreview* preview, EditorData& editor, int32_t editorId,
                            FileOperations* files) {
  CConfigManagerEx* config = editor.configManager;
  ConfigTableSet* working = config != nullptr ? config->GetTables(true) : nullptr;
  if (working == nullptr) return Stop(ReplaceStatus::kRefused, u"no project is open");
  if (std::u16string why = Refusal(*preview, *working, editor, editorId); !why.empty()) {
    return Stop(ReplaceStatus::kRefused, std::move(why));
  }
  const std::vector<int32_t> tables = ChangedTables(preview->fields);
  // A project file that cannot be written is known before any text file
  // is touched.
  for (int32_t table : tables) {
    if (CfgPrepareSave(config->GetConfigHandle(), working, table, -1) == kCfgReadOnly) {
      return Stop(ReplaceStatus::kReadOnly,
                  u"the project file cannot be written; nothing was changed");
    }
  }
  FileOperations systemFiles;
  FileSetCommit committed(preview->files, files != nullptr ? *files : systemFiles);
  const CommitOutcome commit = committed.Commit();
  if (commit.status != CommitStatus::kDone) {
    if (commit.failure == platform::WriteFailure::kReadOnly) {
      return Stop(ReplaceStatus::kReadOnly, commit.message);
    }
    return Stop(commit.status == CommitStatus::kChanged ? ReplaceStatus::kRefused
                                                        : ReplaceStatus::kFailed,
                commit.message);
  }
  SetTexts(working, preview->fields, true);
  for (size_t i = 0; i < tables.size(); ++i) {
    const int32_t saved = config->Save(tables[i], -1);
    if (saved == 0) continue;
    // A whole-table save writes in one transaction, then reads the table
    // back: the tables saved before, and the failed one when only its read
    // failed, hold the new texts in the file, so all of them are saved
    // again with the old; the tables not yet saved never had them.
    SetTexts(config->GetTables(true), preview->fields, false);
    std::u16string message = u"cannot save table " + Number(tables[i]) + u" (code " +
                             Number(saved) +
                             (saved == kCfgReadOnly ? u": the project file is read-only)" : u")");
    for (size_t j = 0; j <= i; ++j) {
      if (config->Save(tables[j], -1) != 0) {
        message += u"; table " + Number(tables[j]) +
                   (j < i ? u" keeps" : u" may keep") +
                   u" the replaced texts in the project file: reopen the project";
      }
    }
    message += committed.Undo();
    return Stop(saved == kCfgReadOnly ? ReplaceStatus::kReadOnly : ReplaceStatus::kFailed,
                std::move(message));
  }
  committed.Finish();
  for (int32_t table : tables) {
    OwnerNames names;
    for (const FieldEdit& edit : preview->fields) {
      if (edit.isName && edit.tableNumber == table) names[edit.recordId] = edit.after;
    }
    PassOnOwnerNames(config, table, names);
  }
  preview->applied = true;
  return {};
}

}  // namespace qm
