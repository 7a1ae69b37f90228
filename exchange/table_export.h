// A record table of a table set written as a tag list file: a header of
// the column titles, then one row per record in key order (which is id
// order), every stored field in it.
#ifndef QMPECORE_EXCHANGE_TABLE_EXPORT_H_
#define QMPECORE_EXCHANGE_TABLE_EXPORT_H_

#include <cstdint>
#include <functional>

#include "exchange/table_file.h"
#include "qmpecore/config_records.h"

namespace qm::exchange {

// Told now and then how many records are done of how many; false stops
// the work.
using Progress = std::function<bool(int64_t done, int64_t total)>;

enum class ExportStatus { kDone, kNoSuchTable, kStopped };

// Writes the table numbered `tableNumber` of `set` (a freed slot as an
// empty table). kNoSuchTable for General and numbers that name no record
// table; kStopped when the sink or `progress` stopped it.
ExportStatus ExportTable(const ConfigTableSet& set, int32_t tableNumber, FileFormat format,
                         ByteSink sink, const Progress& progress);

// The writer of `format`.
std::unique_ptr<TableFileWriter> WriterFor(FileFormat format, ByteSink sink);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_TABLE_EXPORT_H_
