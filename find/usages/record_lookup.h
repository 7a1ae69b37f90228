// Finding one record of a record table by id or by name, and how other
// records refer to it.
#ifndef QMPECORE_FIND_USAGES_RECORD_LOOKUP_H_
#define QMPECORE_FIND_USAGES_RECORD_LOOKUP_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "find/tables/reference_rule.h"
#include "qmpecore/config_records.h"

namespace qm {

// True for the numbers of the tables that hold records (not General).
bool IsRecordTable(int32_t table);

// The head of the record with `id` in the table numbered `table`, or null:
// no such record, a freed slot, or a number that names no record table.
// The head lives as long as the record.
RecordHead* FindRecordHead(const ConfigTableSet& set, int32_t table, int32_t id);

// The location that the find gives a hit in the record with `id` ("Grid
// Table: Timer", or for a device or tag the owner's name in place of the
// table's); empty when there is no such record.
std::u16string RecordLocation(const ConfigTableSet& set, int32_t table, int32_t id);

// The ids of the records of `table` whose Name is exactly `name`, in key
// order.
std::vector<int32_t> RecordIdsNamed(const ConfigTableSet& set, int32_t table,
                                    std::u16string_view name);

// How other records refer to the record with `id`; nullopt when there is
// no such record. A record that nothing refers to by id (a user, an alarm,
// a script, a trend) has a target without lookup or owned table.
std::optional<ReferenceTarget> ReferenceTargetOf(const ConfigTableSet& set, int32_t table,
                                                 int32_t id);

}  // namespace qm

#endif  // QMPECORE_FIND_USAGES_RECORD_LOOKUP_H_
