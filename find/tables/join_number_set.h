// The text of a timer's set of years, hours, ...: "1,5,12".
#ifndef QMPECORE_FIND_TABLES_JOIN_NUMBER_SET_H_
#define QMPECORE_FIND_TABLES_JOIN_NUMBER_SET_H_

#include <string>

#include "qmpecore/config_records.h"

namespace qm {

// The values in ascending order, each with "%d", joined by "," with no
// blanks. A missing or empty set gives the empty text.
std::u16string JoinNumberSet(const ValueSet* set);

// The same text, appended to `out`; allocates only when `out` must grow.
void AppendNumberSet(const ValueSet& set, std::u16string* out);

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_JOIN_NUMBER_SET_H_
