// qmpe import PROJECT_FILE TABLE FILE [--apply] [--replace] [--json]: a
// tag list file checked whole as an import into a record table, its
// changes listed, and with --apply made, all or none (QmCheckImport,
// QmApplyImport). Exit 0 when listed or made, 1 when the file has
// problems (nothing changes), 2 on error or refusal.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/buffered_output.h"
#include "cli/change_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/open_project.h"
#include "cli/progress_meter.h"
#include "cli/table_names.h"
#include "platform/file_rewrite.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct ImportOptions {
  std::string projectFile;
  std::string table;
  std::string file;
  bool apply = false;
  bool replace = false;
  bool json = false;
};

constexpr const char* kChangeKindNames[] = {"added", "changed", "removed"};

// Prints problems as "FILE:LINE:POSITION: COLUMN: message" (as compilers
// do) and changes as "+ #id Name", "~ #id Name" with a line per changed
// field, "- #id Name"; as JSON one array of flat objects.
class ImportPrinter {
 public:
  ImportPrinter(bool json, std::string file)
      : output_(stdout), out_(output_.pending()), json_(json), file_(std::move(file)) {}

  void Problem(const QmImportProblem& problem) {
    if (json_) {
      AppendArrayElementOpen(count_, &out_);
      JsonFields fields(&out_, 4);
      fields.String("kind", u"problem");
      fields.String("file", ToText(file_));
      fields.Number("line", problem.line);
      fields.Number("position", problem.position);
      fields.String("column", problem.column);
      fields.String("message", problem.message);
      AppendArrayElementClose(&out_);
    } else {
      out_.append(file_);
      if (problem.line > 0) out_.append(":").append(std::to_string(problem.line));
      if (problem.position > 0) out_.append(":").append(std::to_string(problem.position));
      out_.append(": ");
      if (problem.column[0] != 0) AppendUtf8(problem.column, &out_), out_.append(": ");
      AppendUtf8(problem.message, &out_);
      out_.push_back('\n');
    }
    ++count_;
    output_.FlushIfFull();
  }

  void Change(const QmImportChange& change) {
    if (json_) {
      const int32_t objects = change.fieldCount > 0 ? change.fieldCount : 1;
      for (int32_t i = 0; i < objects; ++i) {
        AppendArrayElementOpen(count_++, &out_);
        JsonFields fields(&out_, 4);
        fields.String("kind", ToText(kChangeKindNames[change.kind]));
        fields.Number("id", change.recordId);
        fields.String("name", change.name);
        fields.Number("line", change.line);
        if (change.fieldCount > 0) {
          fields.String("column", change.fields[i].column);
          fields.String("before", change.fields[i].before);
          fields.String("after", change.fields[i].after);
        }
        AppendArrayElementClose(&out_);
      }
    } else {
      out_.append(change.kind == kQmImportAdded     ? "+ #"
                  : change.kind == kQmImportChanged ? "~ #"
                                                    : "- #");
      AppendNumber(change.recordId, &out_);
      out_.push_back(' ');
      AppendUtf8(change.name, &out_);
      if (change.line > 0) out_.append(" (line ").append(std::to_string(change.line)).append(")");
      out_.push_back('\n');
      for (int32_t i = 0; i < change.fieldCount; ++i) {
        out_.append("    ");
        AppendUtf8(change.fields[i].column, &out_);
        out_.append(": ");
        AppendBeforeAfter(change.fields[i].before, change.fields[i].after, &out_);
        out_.push_back('\n');
      }
    }
    output_.FlushIfFull();
  }

  bool Finish(const QmImportCounts& counts, bool applied, bool replace) {
    if (json_) {
      AppendArrayClose(count_, &out_);
    } else if (counts.problems > 0) {
      const int64_t unlisted = counts.problems - count_;
      if (unlisted > 0) out_.append("... and " + std::to_string(unlisted) + " more problems\n");
      out_.append(std::to_string(counts.problems) +
                  (counts.problems == 1 ? " problem" : " problems") + "; nothing was changed\n");
    } else {
      out_.append(std::to_string(counts.rows) + " rows: " + std::to_string(counts.added) +
                  " added, " + std::to_string(counts.changed) + " changed, " +
                  (replace ? std::to_string(counts.removed) + " removed, " : "") +
                  std::to_string(counts.unchanged) + " unchanged");
      if (counts.added + counts.changed + counts.removed == 0) {
        out_.append(" (no change)\n");
      } else {
        out_.append(applied ? " (made)\n" : " (preview; --apply makes them)\n");
      }
    }
    return output_.Finish();
  }

  static int32_t OnProblem(void* printer, const QmImportProblem* problem) {
    static_cast<ImportPrinter*>(printer)->Problem(*problem);
    return 1;
  }
  static int32_t OnChange(void* printer, const QmImportChange* change) {
    static_cast<ImportPrinter*>(printer)->Change(*change);
    return 1;
  }

 private:
  BufferedOutput output_;
  std::string& out_;  // output_'s
  bool json_;
  std::string file_;
  int64_t count_ = 0;
};

struct PreviewFree {
  void operator()(QmImportPreview* preview) const { QmFreeImportPreview(preview); }
};

void Import(const ImportOptions& options) {
  const int32_t table = RecordTableNumber(options.table);
  std::string bytes;
  const platform::FileRewriteStatus read = platform::ReadWholeFile(PathText(options.file), &bytes);
  if (!read.ok()) {
    throw CommandError("cannot read " + options.file + " (system error " +
                       std::to_string(read.systemError) + ")");
  }
  OpenProject project(options.projectFile, 0);
  project.RequireEveryTableRead();
  std::unique_ptr<QmImportPreview, PreviewFree> preview;
  {
    ProgressMeter meter("checking");
    preview.reset(QmCheckImport(project.manager(), table, bytes.data(),
                                static_cast<int64_t>(bytes.size()), PathText(options.file).c_str(),
                                options.replace ? kQmImportReplace : 0, ProgressMeter::Handler,
                                &meter));
  }
  if (!preview) throw CommandError("cannot check " + options.file + ": out of memory");
  bytes = std::string();  // the preview holds what it needs
  QmImportCounts counts;
  QmGetImportCounts(preview.get(), &counts);
  ImportPrinter printer(options.json, options.file);
  if (counts.problems > 0) {
    QmGetImportProblems(preview.get(), ImportPrinter::OnProblem, &printer);
    if (!printer.Finish(counts, false, options.replace)) throw CommandError("cannot write");
    ExitWith(kExitNo);
    return;
  }
  bool applied = false;
  if (options.apply && counts.added + counts.changed + counts.removed > 0) {
    char16_t message[1024] = {};
    const int32_t made = QmApplyImport(project.manager(), preview.get(), message, 1024);
    if (made < 0) {
      const char* why = made == kQmImportRefused    ? "refused: "
                        : made == kQmImportReadOnly ? "the project is read-only: "
                                                    : "the import failed: ";
      throw CommandError(why + ToUtf8(message));
    }
    applied = true;
  }
  QmGetImportChanges(preview.get(), ImportPrinter::OnChange, &printer);
  if (!printer.Finish(counts, applied, options.replace)) throw CommandError("cannot write");
  ExitWith(kExitSuccess);
}

}  // namespace

void AddImportCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "import",
      "Check a tag list file (CSV separated by commas or semicolons, a JSON array or JSON "
      "lines) as an import into a record table, whole: every problem is listed as "
      "FILE:LINE:COLUMN and then nothing changes. Rows match records by ID, else by Name; "
      "lists the records added and changed (each field: old -> new); --apply makes the "
      "changes, all or none");
  auto options = std::make_shared<ImportOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TABLE", options->table,
                      "The table as qmpe tables names it (e.g. io_tags, alarm, timer)")
      ->required();
  command->add_option("FILE", options->file, "The tag list file, as qmpe export writes it")
      ->required();
  command->add_flag("--apply", options->apply,
                    "Make the changes and save the table; without it nothing is written");
  command->add_flag("--replace", options->replace,
                    "Also remove the records that no row of the file names");
  command->add_flag("--json", options->json,
                    "Print one JSON array: the problems, or a change per object (a changed "
                    "record once per changed column)");
  command->callback([options] { Import(*options); });
}

}  // namespace qm::cli
