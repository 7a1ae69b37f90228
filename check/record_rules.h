// The ids and names that the project refuses, as one rule each, so that the
// check reports exactly what a save, a rename or an import would refuse.
#ifndef QMPECORE_CHECK_RECORD_RULES_H_
#define QMPECORE_CHECK_RECORD_RULES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Why the project file cannot hold the record kept under `key` with `id`,
// or the empty text: the store refuses ids outside 1..2147483647, and
// keeps a record under its id as ten digits, so a record under another
// key is not where a reader of the file would put it.
std::u16string IdFault(std::u16string_view key, int32_t id);

// Why no rename or import would give a record the name, or the empty
// text: every record needs a name, and a name with a line break can never
// be found on a line of a text file, nor shown on one line of a grid.
std::u16string_view NameFault(std::u16string_view name);

}  // namespace qm

#endif  // QMPECORE_CHECK_RECORD_RULES_H_
