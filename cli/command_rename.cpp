// qmpe rename PROJECT_FILE TABLE OLD NEW [--apply] [--json] [--threads N]: the changes
// that renaming the record makes (its name, and each line of the project's
// text files that holds OLD as a whole word with its case), through
// QmRenameRecord; with --apply it makes them, all or none. Exit 0 when
// listed or done, 1 when there is nothing to change, 2 on error or refusal.
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

struct RenameOptions {
  std::string projectFile;
  std::string table;
  std::string oldName;
  std::string newName;
  bool apply = false;
  bool json = false;
  FileThreadsOption threads;
};

// Prints each change as it is handed over: in the human form the record as
// "location: #id Name: OLD -> NEW" and each line as "path:line: - before"
// and "path:line: + after"; as JSON one array of objects.
class ChangePrinter {
 public:
  explicit ChangePrinter(bool json) : output_(stdout), out_(output_.pending()), json_(json) {}

  void Print(const QmRenameChange& change) {
    if (json_) {
      AppendArrayElementOpen(count_, &out_);
      JsonFields fields(&out_, 4);
      fields.String("kind", change.kind == kQmRenameRecordName ? u"name" : u"line");
      fields.Number("tableNumber", change.tableNumber);
      fields.String("location", change.location);
      fields.Number("recordId", change.recordId);
      fields.String("path", change.path);
      fields.Number("occurrences", change.occurrences);
      fields.String("before", change.before);
      fields.String("after", change.after);
      AppendArrayElementClose(&out_);
    } else if (change.kind == kQmRenameRecordName) {
      AppendFieldPlace(change.location, change.recordId, u"Name", &out_);
      AppendBeforeAfter(change.before, change.after, &out_);
      out_.push_back('\n');
    } else {
      AppendLineChange(change.location, change.recordId, change.before, change.after, &out_);
    }
    ++count_;
    output_.FlushIfFull();
  }

  bool Finish(bool applied) {
    if (json_) {
      AppendArrayClose(count_, &out_);
    } else {
      AppendNumber(count_, &out_);
      out_.append(count_ == 1 ? " change" : " changes");
      out_.append(applied ? " made\n" : " to make (preview; --apply makes them)\n");
    }
    return output_.Finish();
  }

 private:
  BufferedOutput output_;
  std::string& out_;  // output_'s
  bool json_;
  int64_t count_ = 0;
};

int32_t PrintChange(void* context, const QmRenameChange* change) {
  static_cast<ChangePrinter*>(context)->Print(*change);
  return 1;
}

void Rename(const RenameOptions& options) {
  const int32_t table = RecordTableNumber(options.table);
  OpenProject project(options.projectFile, 0);
  project.WarnOfUnreadFolders();
  const int32_t id = project.RecordIdNamed(table, options.table, options.oldName);
  ChangePrinter printer(options.json);
  char16_t message[1024] = {};
  const int32_t changes = QmRenameRecord(project.manager(), table, id,
                                         ToText(options.newName).c_str(),
                                         (options.apply ? kQmRenameApply : 0) |
                                             options.threads.flags(),
                                         PrintChange,
                                         &printer, message, 1024);
  if (changes < 0) {
    const char* why = changes == kQmRenameRefused    ? "refused: "
                      : changes == kQmRenameReadOnly ? "the project is read-only: "
                                                     : "the rename failed: ";
    throw CommandError(why + ToUtf8(message));
  }
  if (!printer.Finish(options.apply)) throw CommandError("cannot write the changes");
  if (message[0] != 0) std::fprintf(stderr, "warning: %s\n", ToUtf8(message).c_str());
  ExitWith(options.oldName == options.newName ? kExitNo : kExitSuccess);
}

}  // namespace

void AddRenameCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "rename",
      "Rename a record everywhere: its name, and each whole-word occurrence of the old name "
      "(same letter case) in the project's text files. Lists the changes; --apply makes them, "
      "all or none");
  auto options = std::make_shared<RenameOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TABLE", options->table, "The record's table as qmpe tables names it "
                                               "(e.g. io_tags, timer, database)")
      ->required();
  command->add_option("OLD", options->oldName, "The record's name")->required();
  command->add_option("NEW", options->newName, "The new name")->required();
  command->add_flag("--apply", options->apply,
                    "Make the changes (the configuration saved, the files rewritten keeping "
                    "every other byte); without it nothing is written");
  command->add_flag("--json", options->json,
                    "Print one JSON array of the changes (eight fields each) and nothing else");
  AddFileThreadsOption(command, &options->threads);
  command->callback([options] { Rename(*options); });
}

}  // namespace qm::cli
