// Tag list files as CSV (RFC 4180): written UTF-8 with a byte-order mark,
// so that spreadsheets read them as UTF-8, lines ending CR LF, cells quoted
// when they hold a separator, a quote, a line break or blanks at an end;
// read with libcsv, separated by commas or, when the header line holds
// more semicolons than commas, by semicolons.
#ifndef QMPECORE_EXCHANGE_CSV_FORMAT_H_
#define QMPECORE_EXCHANGE_CSV_FORMAT_H_

#include "exchange/table_file.h"

namespace qm::exchange {

class CsvWriter : public TableFileWriter {
 public:
  using TableFileWriter::TableFileWriter;
  void Header(std::span<const std::string> titles, std::span<const JsonKind> kinds) override;
  void Row(std::span<const std::string> cells) override;
  bool Finish() override;
};

// Hands the header's cells to sink.Column and every further row to
// sink.Row, with the line each begins on; stops at the first fault of the
// format (a quote that does not close, a stray quote).
void ReadCsv(std::string_view bytes, TableFileSink* sink);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_CSV_FORMAT_H_
