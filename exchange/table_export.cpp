#include "exchange/table_export.h"

#include <memory>
#include <vector>

#include "exchange/csv_format.h"
#include "exchange/json_format.h"
#include "exchange/record_cells.h"
#include "find/tables/record_tables.h"

namespace qm::exchange {
namespace {

// How often the progress is told, in records.
constexpr int64_t kProgressStep = 4096;

template <class Record>
JsonKind JsonKindOf(ColumnOfField column) {
  const ExchangeField<Record>& field = FieldsOf<Record>()[column.field];
  switch (field.form) {
    case FieldForm::kId:
    case FieldForm::kNumber:
      return JsonKind::kInteger;
    case FieldForm::kReal:
      return JsonKind::kReal;
    case FieldForm::kReference:
    case FieldForm::kOwner:
      return column.part == 1 ? JsonKind::kInteger : JsonKind::kText;
    default:
      return JsonKind::kText;
  }
}

template <class Record>
bool WriteTable(const ConfigTableSet& set, const RecordTable<Record>* table,
                TableFileWriter* writer, const Progress& progress) {
  std::vector<ColumnOfField> columns;
  std::vector<std::string> cells;
  std::vector<JsonKind> kinds;
  ForEachColumn<Record>([&](ColumnOfField column) {
    columns.push_back(column);
    cells.push_back(TitleText(ColumnTitle<Record>(column)));
    kinds.push_back(JsonKindOf<Record>(column));
  });
  writer->Header(cells, kinds);
  ReferredRecords referred(set);
  RecordCells<Record> render(&referred);
  const int64_t total = table != nullptr ? static_cast<int64_t>(table->size()) : 0;
  int64_t done = 0;
  if (table != nullptr) {
    for (const auto& [key, record] : *table) {
      for (size_t i = 0; i < columns.size(); ++i) {
        cells[i].clear();
        render.Render(record, columns[i], &cells[i]);
      }
      writer->Row(cells);
      if (++done % kProgressStep == 0 && progress && !progress(done, total)) return false;
    }
  }
  if (progress && !progress(done, total)) return false;
  return writer->Finish();
}

}  // namespace

std::unique_ptr<TableFileWriter> WriterFor(FileFormat format, ByteSink sink) {
  if (format == FileFormat::kCsv) return std::make_unique<CsvWriter>(std::move(sink));
  return std::make_unique<JsonWriter>(std::move(sink), format == FileFormat::kJsonLines);
}

ExportStatus ExportTable(const ConfigTableSet& set, int32_t tableNumber, FileFormat format,
                         ByteSink sink, const Progress& progress) {
  const std::unique_ptr<TableFileWriter> writer = WriterFor(format, std::move(sink));
  bool written = false;
  const bool known = WithRecordTable(tableNumber, set, [&](const auto* table, const auto&) {
    written = WriteTable(set, table, writer.get(), progress);
  });
  if (!known) return ExportStatus::kNoSuchTable;
  return written ? ExportStatus::kDone : ExportStatus::kStopped;
}

}  // namespace qm::exchange
