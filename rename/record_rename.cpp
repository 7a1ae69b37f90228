#include "rename/record_rename.h"

#include <optional>
#include <string_view>

#include "config/config_manager.h"
#include "config/owner_names.h"
#include "files/file_manager.h"
#include "find/searched_files.h"
#include "find/usages/record_lookup.h"
#include "platform/utf_conversion.h"
#include "registry/registry_operations.h"
#include "rename/file_rename_scan.h"
#include "rename/file_set_commit.h"
#include "qmcfg/qmcfg.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

std::u16string Number(int64_t number) {
  std::u16string text;
  FormatText(&text, u"%ld", number);
  return text;
}

std::string Utf8Of(std::u16string_view text) {
  std::string bytes;
  platform::AppendUtf16AsUtf8(text, &bytes);
  return bytes;
}

RenameOutcome Stop(RenameStatus status, std::u16string message) {
  RenameOutcome outcome;
  outcome.status = status;
  outcome.message = std::move(message);
  return outcome;
}

// The sub-id of the configuration manager's save that writes the record's
// table: the owner of a device or a tag, whose records are written alone.
int32_t SaveSubId(const ConfigTableSet& set, int32_t table, int32_t id) {
  if (table == kTableIoDevices && set.ioDevices) return set.ioDevices->at(RecordKey(id)).portId;
  if (table == kTableIoTags && set.ioTags) return set.ioTags->at(RecordKey(id)).deviceId;
  return -1;
}

// The Name that the project file holds for the record, read through a
// handle of its own so that the editor's handle and sets stay as they are;
// nullopt when the file, the table or the record cannot be read.
std::optional<std::u16string> StoredName(const std::u16string& projectPath, int32_t table,
                                         int32_t id) {
  const ConfigHandle handle = CfgOpenConfig(projectPath.c_str(), 0);
  if (handle == 0) return std::nullopt;
  ConfigTableSet stored;
  LoadTableSet(handle, &stored);
  CfgCloseConfig(handle);
  const RecordHead* head = FindRecordHead(stored, table, id);
  if (head == nullptr) return std::nullopt;
  return head->name;
}

class Rename {
 public:
  explicit Rename(const RenameRequest& request)
      : request_(request), files_(request.files != nullptr ? *request.files : systemFiles_) {}

  RenameOutcome Run();

 private:
  std::u16string Refusal(const ConfigTableSet& tables, const RecordHead& head) const;
  // Reads every searched project file and plans its change; false with
  // the outcome set when a file cannot be read.
  bool PlanFiles(const std::u16string& oldName, RenameOutcome* outcome);
  RenameOutcome Apply(ConfigTableSet* tables, RecordHead* head, RenameOutcome outcome);

  const RenameRequest& request_;
  FileOperations systemFiles_;
  FileOperations& files_;
  std::vector<FileChangePlan> plans_;
};

std::u16string Rename::Refusal(const ConfigTableSet& tables, const RecordHead& head) const {
  const std::u16string& name = request_.newName;
  if (request_.table == kTableTrend) {
    return u"trends are saved only with the whole configuration; rename the trend there";
  }
  if (name.empty()) return u"the new name is empty";
  if (name.find_first_of(u"\r\n") != std::u16string::npos) {
    return u"the new name holds a line break";
  }
  for (int32_t other : RecordIdsNamed(tables, request_.table, name)) {
    if (other != head.id) {
      return u"the name " + name + u" already names record " + Number(other) + u" of the table";
    }
  }
  int32_t holder = 0;
  if (GetEditor(request_.editor.projectPath.c_str(), &holder) && holder != request_.editorId) {
    return u"the project is open in editor " + Number(holder) +
           u"; close it there or rename from that editor";
  }
  return {};
}

bool Rename::PlanFiles(const std::u16string& oldName, RenameOutcome* outcome) {
  FileNameSet names;
  if (request_.editor.fileManager != nullptr) {
    request_.editor.fileManager->GetAllFiles(&names, &SearchedFileTypes(), nullptr, 0);
  }
  const std::u16string folder = ProjectFolderOf(request_.editor.projectPath);
  std::vector<FileChangePlan> files(names.size());
  size_t at = 0;
  for (const std::u16string& name : names) {
    files[at].path = folder + name;
    files[at++].location = name;
  }
  const std::string oldWord = Utf8Of(oldName);
  const std::string newWord = Utf8Of(request_.newName);
  const std::optional<UnreadFile> unread = ScanFilesForRename(
      {oldWord, newWord, files_, request_.fileWorkers}, std::move(files),
      [&](FileChangePlan&& plan) {
        std::u16string before, after;
        for (const LineChange& line : plan.lines) {
          LineTextsOf(plan, line, &before, &after);
          outcome->changes.push_back({RenameChange::Kind::kFileLine, kTableFile, line.line,
                                      plan.location, plan.path, before, after,
                                      line.occurrences});
        }
        plans_.push_back(std::move(plan));
      });
  if (unread) {
    *outcome = Stop(RenameStatus::kFailed, u"cannot read " + unread->path + u" (system error " +
                                               Number(unread->status.systemError) + u")");
    return false;
  }
  return true;
}

RenameOutcome Rename::Run() {
  CConfigManagerEx* config = request_.editor.configManager;
  ConfigTableSet* tables = config != nullptr ? config->GetTables(true) : nullptr;
  RecordHead* head =
      tables != nullptr ? FindRecordHead(*tables, request_.table, request_.recordId) : nullptr;
  if (head == nullptr) {
    return Stop(RenameStatus::kNoSuchRecord, u"table " + Number(request_.table) +
                                                 u" holds no record with id " +
                                                 Number(request_.recordId));
  }
  if (std::u16string why = Refusal(*tables, *head); !why.empty()) {
    return Stop(RenameStatus::kRefused, std::move(why));
  }
  RenameOutcome outcome;
  outcome.changes.push_back({RenameChange::Kind::kRecordName, request_.table, head->id,
                             RecordLocation(*tables, request_.table, head->id), u"", head->name,
                             request_.newName, 1});
  if (head->name == request_.newName) return outcome;  // nothing to change
  if (!PlanFiles(head->name, &outcome)) return outcome;
  if (!request_.apply) return outcome;
  return Apply(tables, head, std::move(outcome));
}

RenameOutcome Rename::Apply(ConfigTableSet* tables, RecordHead* head, RenameOutcome outcome) {
  CConfigManagerEx* config = request_.editor.configManager;
  const int32_t id = head->id;
  const int32_t subId = SaveSubId(*tables, request_.table, id);
  // A project file that cannot be written is known before any text file
  // is touched.
  if (CfgPrepareSave(config->GetConfigHandle(), tables, request_.table, subId) == kCfgReadOnly) {
    return Stop(RenameStatus::kReadOnly, u"the project file cannot be written; nothing was changed");
  }
  FileSetCommit files(plans_, files_);
  const CommitOutcome committed = files.Commit();
  if (committed.status != CommitStatus::kDone) {
    if (committed.failure == platform::WriteFailure::kReadOnly) {
      return Stop(RenameStatus::kReadOnly, committed.message);
    }
    return Stop(committed.status == CommitStatus::kChanged ? RenameStatus::kRefused
                                                           : RenameStatus::kFailed,
                committed.message);
  }
  const std::u16string oldName = head->name;
  head->name = request_.newName;
  const int32_t saved = config->Save(request_.table, subId);
  if (saved != 0) {
    // A save writes its table and then reads it back. When only the read
    // failed the project file holds the new name, and the files keep
    // theirs so that the two agree; otherwise the file holds the old name
    // (a write is one transaction), or cannot tell, and the files go back.
    if (StoredName(request_.editor.projectPath, request_.table, id) != request_.newName) {
      if (RecordHead* now = FindRecordHead(*tables, request_.table, id)) now->name = oldName;
      return Stop(saved == kCfgReadOnly ? RenameStatus::kReadOnly : RenameStatus::kFailed,
                  u"cannot save table " + Number(request_.table) + u" (code " + Number(saved) +
                      (saved == kCfgReadOnly ? u": the project file is read-only)" : u")") +
                      files.Undo());
    }
    outcome.message = u"table " + Number(request_.table) +
                      u" was saved with the new name, but reading it back failed (code " +
                      Number(saved) + u"); reopen the project to see it as stored";
  }
  files.Finish();
  PassOnOwnerNames(config, request_.table, {{id, request_.newName}});
  return outcome;
}

}  // namespace

RenameOutcome RenameRecord(const RenameRequest& request) { return Rename(request).Run(); }

}  // namespace qm
