// The owner's Name that IO devices and IO tags carry beside their owner's
// id (read with each record, never stored twice): what must follow when a
// port or a device gets a new Name in memory.
#ifndef QMPECORE_CONFIG_OWNER_NAMES_H_
#define QMPECORE_CONFIG_OWNER_NAMES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "config/config_manager.h"
#include "qmpecore/config_records.h"

namespace qm {

// The slot of the records that name a record of `table` as their owner
// and carry its Name: a port's devices, a device's tags.
std::optional<TableSlot> OwnedSlot(int32_t table);

// New Names of records of one table, by id.
using OwnerNames = std::unordered_map<int32_t, std::u16string>;

// Gives every record of `set` owned by a record of `table` (a port, a
// device) named in `names` that Name, in one walk of the owned table;
// nothing for other tables.
void SetOwnerNames(ConfigTableSet* set, int32_t table, const OwnerNames& names);

// The same in the working set of `config` and in its snapshot, where the
// owned table is made for it.
void PassOnOwnerNames(CConfigManagerEx* config, int32_t table, const OwnerNames& names);

}  // namespace qm

#endif  // QMPECORE_CONFIG_OWNER_NAMES_H_
