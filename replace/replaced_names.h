// The Names that a replace gives records: each must stay a Name the table
// can hold, and no two records of a table may share one afterwards.
#ifndef QMPECORE_REPLACE_REPLACED_NAMES_H_
#define QMPECORE_REPLACE_REPLACED_NAMES_H_

#include <string>
#include <vector>

#include "qmpecore/config_records.h"
#include "replace/replaced_fields.h"

namespace qm {

// Why the Name edits among `edits` cannot be made in `set`, or the empty
// text. Records that shared a Name before keep doing so; only a Name that
// an edit gives is checked against every other record of its table.
std::u16string NameRefusal(const ConfigTableSet& set, const std::vector<FieldEdit>& edits);

}  // namespace qm

#endif  // QMPECORE_REPLACE_REPLACED_NAMES_H_
