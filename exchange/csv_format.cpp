#include "exchange/csv_format.h"

#include <csv.h>

#include <cstring>
#include <memory>
#include <vector>

namespace qm::exchange {
namespace {

void AppendCell(std::string_view cell, std::string* out) {
  const bool quoted = cell.find_first_of(",;\"\r\n") != std::string_view::npos ||
                      (!cell.empty() && (cell.front() == ' ' || cell.front() == '\t' ||
                                         cell.back() == ' ' || cell.back() == '\t'));
  if (!quoted) {
    out->append(cell);
    return;
  }
  out->push_back('"');
  for (char c : cell) {
    if (c == '"') out->push_back('"');
    out->push_back(c);
  }
  out->push_back('"');
}

void AppendLine(std::span<const std::string> cells, std::string* out) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out->push_back(',');
    AppendCell(cells[i], out);
  }
  out->append("\r\n");
}

// The separator of a file: the one of ',' and ';' that its first line
// (outside quotes) holds more of; ',' when they tie.
char SeparatorOf(std::string_view bytes) {
  size_t commas = 0, semicolons = 0;
  bool quoted = false;
  for (char c : bytes) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n') break;
    commas += c == ',';
    semicolons += c == ';';
  }
  return semicolons > commas ? ';' : ',';
}

// Collects libcsv's fields into rows and tells the lines they began on.
class CsvRows {
 public:
  explicit CsvRows(TableFileSink* sink) : sink_(*sink) {}

  // Feeds the parser one line (with its break); libcsv reports a row
  // when it meets the break that ends it, so each row ends on the line
  // being fed, and begins on the first line with content after the
  // previous row.
  bool Feed(csv_parser* parser, std::string_view line) {
    ++line_;
    if (betweenRows_) {
      if (line.find_first_not_of("\r\n") == std::string_view::npos) return true;
      rowLine_ = line_;
      betweenRows_ = false;
    }
    if (csv_parse(parser, line.data(), line.size(), &OnField, &OnRowEnd, this) != line.size()) {
      sink_.Fault(line_, 0, std::string("the CSV cannot be read here: ") +
                                csv_strerror(csv_error(parser)));
      return false;
    }
    return true;
  }

  bool Finish(csv_parser* parser) {
    if (csv_fini(parser, &OnField, &OnRowEnd, this) != 0) {
      sink_.Fault(rowLine_, 0, "a quoted cell begun on this line does not end");
      return false;
    }
    return true;
  }

 private:
  static void OnField(void* field, size_t size, void* context) {
    auto* rows = static_cast<CsvRows*>(context);
    if (rows->used_ == rows->texts_.size()) rows->texts_.emplace_back();
    rows->texts_[rows->used_++].assign(static_cast<const char*>(field), size);
  }

  static void OnRowEnd(int, void* context) {
    auto* rows = static_cast<CsvRows*>(context);
    rows->EndRow();
  }

  void EndRow() {
    if (!headerRead_) {
      for (uint32_t i = 0; i < used_; ++i) sink_.Column(i, texts_[i], rowLine_, i + 1);
      headerRead_ = true;
    } else {
      cells_.clear();
      for (uint32_t i = 0; i < used_; ++i) cells_.push_back({i, i + 1, texts_[i]});
      sink_.Row(rowLine_, cells_);
    }
    used_ = 0;
    betweenRows_ = true;
    rowLine_ = line_ + 1;
  }

  TableFileSink& sink_;
  std::vector<std::string> texts_;  // the first used_ hold the row's fields
  uint32_t used_ = 0;
  std::vector<ReadCell> cells_;
  bool headerRead_ = false;
  bool betweenRows_ = true;
  int64_t line_ = 0;
  int64_t rowLine_ = 1;
};

// Blanks belong to the cells: libcsv would otherwise trim them from
// unquoted ones.
int NoSpace(unsigned char) { return 0; }

}  // namespace

void CsvWriter::Header(std::span<const std::string> titles, std::span<const JsonKind>) {
  pending().append("\xEF\xBB\xBF");
  AppendLine(titles, &pending());
}

void CsvWriter::Row(std::span<const std::string> cells) {
  AppendLine(cells, &pending());
  FlushIfFull();
}

bool CsvWriter::Finish() { return Flush(); }

void ReadCsv(std::string_view bytes, TableFileSink* sink) {
  bytes = WithoutByteOrderMark(bytes);
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) throw std::bad_alloc();
  const std::unique_ptr<csv_parser, void (*)(csv_parser*)> owned(&parser, &csv_free);
  csv_set_delim(&parser, static_cast<unsigned char>(SeparatorOf(bytes)));
  csv_set_space_func(&parser, &NoSpace);
  CsvRows rows(sink);
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const size_t size = end == std::string_view::npos ? bytes.size() : end + 1;
    if (!rows.Feed(&parser, bytes.substr(0, size))) return;
    bytes.remove_prefix(size);
  }
  rows.Finish(&parser);
}

}  // namespace qm::exchange
