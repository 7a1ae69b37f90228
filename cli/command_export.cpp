// qmpe export PROJECT_FILE TABLE [--format csv|json] [--json-lines]
// [-o FILE]: a record table as a tag list file, through QmExportTable.
// Exit 0 when written, 2 on error.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"
#include "cli/progress_meter.h"
#include "cli/table_names.h"
#include "platform/standard_streams.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct ExportOptions {
  std::string projectFile;
  std::string table;
  std::string format = "csv";
  bool jsonLines = false;
  std::string output;
};

struct Destination {
  std::FILE* standardOutput = nullptr;
  std::ofstream* file = nullptr;
};

int32_t WriteBytes(void* context, const char* bytes, int32_t size) {
  auto* to = static_cast<Destination*>(context);
  if (to->file != nullptr) {
    to->file->write(bytes, size);
    return to->file->good() ? 1 : 0;
  }
  return std::fwrite(bytes, 1, static_cast<size_t>(size), to->standardOutput) ==
                 static_cast<size_t>(size)
             ? 1
             : 0;
}

void Export(const ExportOptions& options) {
  const int32_t table = RecordTableNumber(options.table);
  const int32_t format = options.jsonLines          ? kQmExportJsonLines
                         : options.format == "json" ? kQmExportJson
                                                    : kQmExportCsv;
  OpenProject project(options.projectFile, 0);
  project.RequireEveryTableRead();
  Destination to;
  std::ofstream file;
  // A file that could not be written whole is removed, so that no half
  // list is taken for a whole one.
  const auto removePartial = [&] {
    if (to.file == nullptr) return;
    file.close();
    std::error_code ignored;
    std::filesystem::remove(PathOf(options.output), ignored);
  };
  if (options.output.empty() || options.output == "-") {
    platform::MakeStandardOutputBinary();
    to.standardOutput = stdout;
  } else {
    file.open(PathOf(options.output), std::ios::binary | std::ios::trunc);
    if (!file) throw CommandError("cannot write " + options.output);
    to.file = &file;
  }
  int64_t records;
  {
    ProgressMeter meter("exporting");
    records = QmExportTable(project.manager(), table, format, WriteBytes, &to,
                            ProgressMeter::Handler, &meter);
  }
  const bool flushed = to.file != nullptr ? (file.flush(), file.good()) : std::fflush(stdout) == 0;
  if (records < 0 || !flushed) {
    removePartial();
    throw CommandError(records == -1 ? "cannot export table " + options.table
                                     : "cannot write the exported table");
  }
  if (to.file != nullptr) {
    std::fprintf(stderr, "%lld records written to %s\n", static_cast<long long>(records),
                 options.output.c_str());
  }
  ExitWith(kExitSuccess);
}

}  // namespace

void AddExportCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "export",
      "Write a record table as a tag list file: a header of column titles, then one row per "
      "record in id order with every stored field (references as the record's Name and its "
      "number, enumerations as the grid's text, values with their type)");
  auto options = std::make_shared<ExportOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TABLE", options->table,
                      "The table as qmpe tables names it (e.g. io_tags, alarm, timer)")
      ->required();
  command->add_option("--format", options->format,
                      "csv (RFC 4180, UTF-8 with a byte-order mark) or json (an array of "
                      "objects)")
      ->check(CLI::IsMember({"csv", "json"}));
  command->add_flag("--json-lines", options->jsonLines,
                    "JSON, one object a line and nothing around them");
  command->add_option("-o,--output", options->output,
                      "The file to write (default: standard output)");
  command->callback([options] { Export(*options); });
}

}  // namespace qm::cli
