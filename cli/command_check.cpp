// qmpe check PROJECT_FILE [--json]: every finding of QmCheckProject, one a
// line. Exit 0 when the project is clean, 1 with findings, 2 on errors
// (a text file that could not be read among them: the check is then
// incomplete).
#include <cstdio>
#include <memory>
#include <string>

#include "cli/buffered_output.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/open_project.h"
#include "cli/table_names.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct CheckOptions {
  std::string projectFile;
  bool json = false;
};

// The kinds by their export numbers, as the output names them.
constexpr const char16_t* kFindingKindNames[] = {u"missing_record", u"shared_name",  u"bad_id",
                                          u"bad_name",       u"unused_tag",   u"missing_file",
                                          u"unread_file"};

std::u16string_view KindName(int32_t kind) {
  if (kind < 0 || kind >= static_cast<int32_t>(std::size(kFindingKindNames))) return u"unknown";
  return kFindingKindNames[kind];
}

std::u16string TableName(int32_t table) {
  const std::string name = table == kTableFile ? "file" : RecordTableName(table);
  return {name.begin(), name.end()};
}

class FindingPrinter {
 public:
  explicit FindingPrinter(bool json) : output_(stdout), json_(json) {}

  void Print(const QmCheckFinding& finding) {
    std::string& out = output_.pending();
    if (finding.kind == kQmCheckUnreadFile) ++unread_;
    if (json_) {
      out += '{';
      JsonFields fields(&out, 0);
      fields.String("kind", KindName(finding.kind));
      fields.String("table", TableName(finding.tableNumber));
      fields.Number("record", finding.recordId);
      fields.String("name", finding.name);
      fields.String("field", finding.field);
      fields.String("file", finding.file);
      fields.Number("line", finding.line);
      fields.String("message", finding.message);
      out += "}\n";
    } else {
      // kind table #id "name" field: message, or for a file alone
      // kind file path[:line]: message. The name is quoted as JSON quotes
      // it, so that a line break in it cannot break the line.
      AppendUtf8(KindName(finding.kind), &out);
      out += ' ';
      AppendUtf8(TableName(finding.tableNumber), &out);
      if (finding.tableNumber == kTableFile) {
        out += ' ';
        AppendUtf8(finding.file, &out);
        if (finding.line > 0) out += ':' + std::to_string(finding.line);
      } else {
        out += " #" + std::to_string(finding.recordId) + ' ';
        AppendJsonString(finding.name, &out);
        if (finding.field[0] != u'\0') {
          out += ' ';
          AppendUtf8(finding.field, &out);
        }
      }
      out += ": ";
      AppendUtf8(finding.message, &out);
      out += '\n';
    }
    ++printed_;
    output_.FlushIfFull();
  }

  bool Finish() { return output_.Finish(); }
  int64_t printed() const { return printed_; }
  int64_t unread() const { return unread_; }

 private:
  BufferedOutput output_;
  bool json_;
  int64_t printed_ = 0;
  int64_t unread_ = 0;
};

int32_t QM_CALL PrintFinding(void* context, const QmCheckFinding* finding) {
  static_cast<FindingPrinter*>(context)->Print(*finding);
  return 1;
}

void RunCheck(const CheckOptions& options) {
  OpenProject project(options.projectFile, 0);
  // A table the open could not read would pass for one without records.
  project.RequireEveryTableRead();
  project.WarnOfUnreadFolders();
  FindingPrinter printer(options.json);
  const int32_t found = QmCheckProject(project.manager(), PrintFinding, &printer);
  const bool written = printer.Finish();
  if (found < 0) throw CommandError("the project could not be checked");
  if (!written) throw CommandError("cannot write the findings");
  if (printer.unread() > 0) {
    throw CommandError(std::to_string(printer.unread()) +
                       " text file(s) could not be read; the unused tags listed may be used there");
  }
  ExitWith(printer.printed() == 0 ? kExitSuccess : kExitNo);
}

}  // namespace

void AddCheckCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "check",
      "Check a project and list its findings, one a line: references to records that do not "
      "exist (a tag's device, a device's port, an alarm's tags, a trend's tag, a script's "
      "triggerer, a database's timers, ...; 0 means none except for an owner), records of a "
      "table that share a name, ids and names the project file refuses (an ID outside 1 to "
      "2147483647, an empty name, a name with a line break), scripts' files that the project "
      "folder lacks, project text files that cannot be read, and tags that nothing uses (no "
      "record refers to them and no line of the project's text files names them as a whole "
      "word with the same letter case). A line reads KIND TABLE #ID \"NAME\" FIELD: MESSAGE "
      "(KIND file PATH: MESSAGE for a file). Exit 0 when the project is clean, 1 with "
      "findings, 2 on errors, a text file that cannot be read among them");
  auto options = std::make_shared<CheckOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_flag("--json", options->json,
                    "Print one JSON object a line per finding, with kind, table, record (the "
                    "id), name, field, file, line and message (empty texts and 0 where a "
                    "finding has none), and nothing else");
  command->callback([options] { RunCheck(*options); });
}

}  // namespace qm::cli
