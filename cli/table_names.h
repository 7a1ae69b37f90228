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

}  // namespace qm::cli

#endif  // QMPECORE_CLI_TABLE_NAMES_H_
