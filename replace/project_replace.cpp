// The preview of a replace: the find's results gathered into the field
// edits and the file plans that the apply makes.
#include "replace/project_replace.h"

#include <algorithm>
#include <unordered_set>

#include "config/config_manager.h"
#include "find/search_needle.h"
#include "qmpecore/config_records.h"
#include "replace/replaced_files.h"
#include "replace/replaced_names.h"
#include "replace/text_replacer.h"

namespace qm {
namespace {

// Takes the find's results as they come: a table hit becomes a field edit
// (or a skipped field) at once, a file's lines are gathered until its last.
// Any failure ends the find.
class ReplaceSink final : public ResultSink {
 public:
  ReplaceSink(ConfigTableSet* working, TextReplacer& replacer, ReplacePreview* preview)
      : working_(working), replacer_(replacer), preview_(preview) {}

  void Take(const FindResult& result) override {
    if (failed()) return;
    if (result.tableNumber != kTableFile) {
      FlushFile();
      TakeField(result);
      return;
    }
    if (result.label != path_) {
      FlushFile();
      path_ = result.label;
      location_ = result.location;
    }
    lines_.push_back(result.recordId);
  }
  bool Done() const override { return failed(); }

  // Takes the last file; call once the find is over.
  void Finish() { FlushFile(); }
  const std::vector<ReplacedFile>& files() const { return files_; }

 private:
  bool failed() const { return preview_->status != ReplaceStatus::kDone; }

  void Fail(ReplaceStatus status, std::u16string message) {
    preview_->status = status;
    preview_->message = std::move(message);
  }

  void TakeField(const FindResult& hit) {
    HitField field = FieldOfHit(hit);
    ReplaceChange change;
    change.tableNumber = hit.tableNumber;
    change.recordId = hit.recordId;
    change.location = hit.location;
    change.column = hit.tableNumber == kTableGeneral ? hit.label : hit.columnName;
    const std::u16string* stored =
        field.skipped.empty() && working_ != nullptr ? StoredText(*working_, field.edit) : nullptr;
    if (stored == nullptr) {
      change.kind = ReplaceChange::Kind::kSkipped;
      change.before = hit.matchedText;
      change.note = field.skipped.empty() ? u"is not a stored text" : field.skipped;
      preview_->fieldChanges.push_back(std::move(change));
      return;
    }
    std::u16string after;
    const int64_t count = replacer_.Replace(*stored, &after, nullptr);
    if (count < 0) return Fail(ReplaceStatus::kRefused, replacer_.error());
    if (after == *stored) return;
    field.edit.before = *stored;
    field.edit.after = after;
    change.before = *stored;
    change.after = std::move(after);
    change.occurrences = static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX));
    preview_->replaced += count;
    preview_->fields.push_back(std::move(field.edit));
    preview_->fieldChanges.push_back(std::move(change));
  }

  // The file's lines wait for the plans, made on a pool once the find is
  // over; a file that two items of the scope select is changed once.
  void FlushFile() {
    if (lines_.empty()) return;
    if (planned_.insert(path_).second) {
      files_.push_back({std::move(path_), std::move(location_), std::move(lines_),
                        preview_->fieldChanges.size()});
    }
    path_.clear();
    location_.clear();
    lines_.clear();
  }

  ConfigTableSet* working_;
  TextReplacer& replacer_;
  ReplacePreview* preview_;
  std::u16string path_;
  std::u16string location_;
  std::vector<int32_t> lines_;
  std::unordered_set<std::u16string> planned_;
  std::vector<ReplacedFile> files_;  // in find order
};

}  // namespace

ReplacePreview PreviewReplace(const ReplaceRequest& request) {
  ReplacePreview preview;
  preview.projectPath = request.editor.projectPath;
  preview.projectStamp = platform::StampOfFile(preview.projectPath);
  const SearchNeedle needle(request.text, request.options);
  if (needle.empty()) {
    preview.status = needle.patternError() != nullptr ? ReplaceStatus::kBadPattern
                                                      : ReplaceStatus::kRefused;
    preview.message = needle.patternError() != nullptr ? needle.patternError()->message
                                                       : u"the search text is empty";
    return preview;
  }
  FileOperations systemFiles;
  TextReplacer replacer(needle, request.replacement);
  CConfigManagerEx* config = request.editor.configManager;
  ConfigTableSet* working = config != nullptr ? config->GetTables(true) : nullptr;
  ReplaceSink sink(working, replacer, &preview);
  const FindStatus found = request.find(sink);
  sink.Finish();
  if (preview.status == ReplaceStatus::kDone && found == FindStatus::kDone) {
    PlanReplacedFiles(sink.files(), request.text, request.options, request.replacement,
                      request.files != nullptr ? *request.files : systemFiles, &preview);
  }
  if (preview.status == ReplaceStatus::kDone && found != FindStatus::kDone) {
    preview.status =
        found == FindStatus::kBadPattern ? ReplaceStatus::kBadPattern : ReplaceStatus::kMatchLimit;
    preview.message = found == FindStatus::kBadPattern
                          ? u"the pattern does not compile"
                          : u"the pattern's matching ran past the match limit";
  }
  if (preview.status == ReplaceStatus::kDone && working != nullptr) {
    if (std::u16string why = NameRefusal(*working, preview.fields); !why.empty()) {
      preview.status = ReplaceStatus::kRefused;
      preview.message = std::move(why);
    }
  }
  if (preview.status != ReplaceStatus::kDone) {
    preview.fieldChanges.clear();
    preview.fieldChangesBeforeFile.clear();
    preview.fields.clear();
    preview.files.clear();
    preview.replaced = 0;
  }
  return preview;
}

void ForEachChange(const ReplacePreview& preview,
                   const std::function<bool(const ReplaceChange&)>& visit) {
  const std::vector<ReplaceChange>& fields = preview.fieldChanges;
  size_t field = 0;
  ReplaceChange line;
  line.kind = ReplaceChange::Kind::kFileLine;
  line.tableNumber = kTableFile;
  for (size_t i = 0; i < preview.files.size(); ++i) {
    const size_t before = std::min(preview.fieldChangesBeforeFile[i], fields.size());
    for (; field < before; ++field) {
      if (!visit(fields[field])) return;
    }
    const FileChangePlan& plan = preview.files[i];
    line.location = plan.location;
    line.path = plan.path;
    for (const LineChange& changed : plan.lines) {
      line.recordId = changed.line;
      line.occurrences = changed.occurrences;
      LineTextsOf(plan, changed, &line.before, &line.after);
      if (!visit(line)) return;
    }
  }
  for (; field < fields.size(); ++field) {
    if (!visit(fields[field])) return;
  }
}

int64_t ChangeCount(const ReplacePreview& preview) {
  int64_t count = 0;
  for (const ReplaceChange& change : preview.fieldChanges) {
    if (change.kind != ReplaceChange::Kind::kSkipped) ++count;
  }
  for (const FileChangePlan& plan : preview.files) count += static_cast<int64_t>(plan.lines.size());
  return count;
}

}  // namespace qm
