// The owner's Name that IO devices and IO tags carry beside their owner's
// id (read with each record, never stored twice): what must follow when a
// port or a device gets a new Name in memory.
#ifndef QMPECORE_CONFIG_OWNER_NAMES_H_
#define QMPECORE_CONFIG_OWNER_NAMES_H_

#include <cstdint>
#include <optional>
#include <string>

#include "qmpecore/config_records.h"

namespace qm {

// The slot of the records that name a record of `table` as their owner
// and carry its Name: a port's devices, a device's tags.
std::optional<TableSlot> OwnedSlot(int32_t table);

// Gives every record of `set` owned by record `id` of `table` (a port, a
// device) the owner's Name `name`; nothing for other tables.
void SetOwnerName(ConfigTableSet* set, int32_t table, int32_t id, const std::u16string& name);

}  // namespace qm

#endif  // QMPECORE_CONFIG_OWNER_NAMES_H_
