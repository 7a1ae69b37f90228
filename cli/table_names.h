// The record tables by the names that qmpe tables prints, for the commands
// that take a TABLE argument.
#ifndef QMPECORE_CLI_TABLE_NAMES_H_
#define QMPECORE_CLI_TABLE_NAMES_H_

#include <cstdint>
#include <string>

namespace qm::cli {

// The table number of a record table named as qmpe tables prints it,
// ignoring case, with a space or an underscore between words ("IO tags",
// "io_tags"). Throws CommandError listing the names for any other name,
// General included.
int32_t RecordTableNumber(const std::string& name);

// The name as the commands take it ("io_tags").
std::string RecordTableName(int32_t tableNumber);

// A find's scope with each item that names a table ("io_tags", "General",
// "IO tags") given as the library's item for it ("21|-1", "0|"); other
// items (numbers, patterns, paths) stay as they are. Throws CommandError
// for trends, which no find searches.
std::string ScopeWithTableItems(const std::string& scope);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_TABLE_NAMES_H_
