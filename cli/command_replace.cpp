// qmpe replace PROJECT_FILE TEXT REPLACEMENT [--scope S] [--match-case]
// [--word] [--regex] [--apply] [--json] [--threads N]: every match that
// qmpe find finds with the same options, in the tables' free texts and the
// project's text files, replaced (QmPreviewReplace); listed, and with
// --apply made, all or none (QmApplyReplace). Exit 0 when listed or made,
// 1 when nothing changes, 2 on error or refusal.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/buffered_output.h"
#include "cli/change_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/find_flags.h"
#include "cli/json_text.h"
#include "cli/open_project.h"
#include "cli/table_names.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct ReplaceOptions {
  std::string projectFile;
  std::string text;
  std::string replacement;
  std::string scope = "Entire Project";
  FindFlagOptions matching;
  FileThreadsOption threads;
  bool apply = false;
  bool json = false;
};

constexpr const char* kReplacementKindNames[] = {"field", "line", "skipped"};

// In the human form a field as "location: #id Column: BEFORE -> AFTER", a
// skipped one as "location: #id Column: skipped, NOTE", a line as
// "path:line: - before" and "path:line: + after"; as JSON one array.
class ReplacePrinter {
 public:
  explicit ReplacePrinter(bool json) : output_(stdout), out_(output_.pending()), json_(json) {}

  void Print(const QmReplaceChange& change) {
    if (json_) {
      AppendArrayElementOpen(printed_, &out_);
      JsonFields fields(&out_, 4);
      fields.String("kind", ToText(kReplacementKindNames[change.kind]));
      fields.Number("tableNumber", change.tableNumber);
      fields.String("location", change.location);
      fields.Number("recordId", change.recordId);
      fields.String("column", change.column);
      fields.String("path", change.path);
      fields.Number("occurrences", change.occurrences);
      fields.String("before", change.before);
      fields.String("after", change.after);
      fields.String("note", change.note);
      AppendArrayElementClose(&out_);
    } else if (change.kind == kQmReplaceFileLine) {
      AppendLineChange(change.location, change.recordId, change.before, change.after, &out_);
    } else {
      AppendFieldPlace(change.location, change.recordId, change.column, &out_);
      if (change.kind == kQmReplaceSkipped) {
        out_.append("skipped, ");
        AppendUtf8(change.note, &out_);
        out_.append(": ");
        AppendUtf8(change.before, &out_);
      } else {
        AppendBeforeAfter(change.before, change.after, &out_);
      }
      out_.push_back('\n');
    }
    if (change.kind == kQmReplaceSkipped) {
      ++skipped_;
    } else {
      ++changed_;
      replaced_ += change.occurrences;
    }
    ++printed_;
    output_.FlushIfFull();
  }

  bool Finish(bool applied) {
    if (json_) {
      AppendArrayClose(printed_, &out_);
    } else {
      out_.append(std::to_string(changed_)).append(changed_ == 1 ? " change" : " changes");
      out_.append(" (").append(std::to_string(replaced_));
      out_.append(replaced_ == 1 ? " replacement)" : " replacements)");
      out_.append(applied ? " made" : " to make (preview; --apply makes them)");
      if (skipped_ > 0) {
        out_.append("; ").append(std::to_string(skipped_)).append(" skipped, not free text");
      }
      out_.push_back('\n');
    }
    return output_.Finish();
  }

  int64_t changed() const { return changed_; }

 private:
  BufferedOutput output_;
  std::string& out_;  // output_'s
  bool json_;
  int64_t printed_ = 0;
  int64_t changed_ = 0;
  int64_t replaced_ = 0;
  int64_t skipped_ = 0;
};

int32_t PrintChange(void* context, const QmReplaceChange* change) {
  static_cast<ReplacePrinter*>(context)->Print(*change);
  return 1;
}

using PreviewHandle = std::unique_ptr<QmReplacePreview, decltype(&QmFreeReplacePreview)>;

std::string FailureMessage(int32_t answer, const std::u16string& text, int32_t flags,
                           const char16_t* message) {
  switch (answer) {
    case kQmFindBadPattern:
      return PatternErrorMessage(text, flags);
    case kQmReplaceRefused:
      return "refused: " + ToUtf8(message);
    case kQmReplaceReadOnly:
      return "the project is read-only: " + ToUtf8(message);
    default:
      return "the replace failed: " + ToUtf8(message);
  }
}

void Replace(const ReplaceOptions& options) {
  OpenProject project(options.projectFile, 0);
  project.WarnOfUnreadFolders();
  if (options.apply) project.RequireEveryTableRead();
  const std::u16string scope = PathText(ScopeWithTableItems(options.scope));
  const std::u16string text = ToText(options.text);
  const int32_t flags = options.matching.flags() | options.threads.flags();
  char16_t message[1024] = {};
  QmReplacePreview* made = nullptr;
  const int32_t changes =
      QmPreviewReplace(project.manager(), scope.c_str(), text.c_str(),
                       ToText(options.replacement).c_str(), flags, &made, message, 1024);
  const PreviewHandle preview(made, &QmFreeReplacePreview);
  if (changes < 0) throw CommandError(FailureMessage(changes, text, flags, message));
  if (options.apply && changes > 0) {
    const int32_t applied = QmApplyReplace(project.manager(), preview.get(), message, 1024);
    if (applied < 0) throw CommandError(FailureMessage(applied, text, flags, message));
  }
  ReplacePrinter printer(options.json);
  QmGetReplaceChanges(preview.get(), PrintChange, &printer);
  if (!printer.Finish(options.apply)) throw CommandError("cannot write the changes");
  ExitWith(printer.changed() == 0 ? kExitNo : kExitSuccess);
}

}  // namespace

void AddReplaceCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "replace",
      "Replace every match that qmpe find finds with the same options: in the tables' free "
      "texts (names, descriptions, messages, paths, ...; a field shown through a lookup or a "
      "list is skipped) and in the lines of the project's text files. A replaced name renames "
      "its record. Lists the changes; --apply makes them, all or none");
  auto options = std::make_shared<ReplaceOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TEXT", options->text, "The text to find")->required();
  command->add_option("REPLACEMENT", options->replacement,
                      "What replaces each match; with --regex, $1 to $99 and ${name} insert a "
                      "group, $$ a dollar")
      ->required();
  command->add_option("--scope", options->scope, "What to search, as qmpe find takes it")
      ->capture_default_str();
  AddFindFlagOptions(command, &options->matching);
  AddFileThreadsOption(command, &options->threads);
  command->add_flag("--apply", options->apply,
                    "Make the changes (the tables saved, the files rewritten keeping every "
                    "other byte); without it nothing is written");
  command->add_flag("--json", options->json,
                    "Print one JSON array of the changes (ten fields each) and nothing else");
  command->callback([options] { Replace(*options); });
}

}  // namespace qm::cli
