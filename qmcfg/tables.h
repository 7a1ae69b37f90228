// The record tables of a configuration: the schema of each (tables.cpp)
// and a walk over the record slots of a ConfigTableSet, so that whole-set
// operations are one loop over the same list.
#ifndef QMPECORE_QMCFG_TABLES_H_
#define QMPECORE_QMCFG_TABLES_H_

#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "qmcfg/schema.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

template <class Record>
const TableSchema<Record>& SchemaOf();

template <> const TableSchema<TimerRecord>& SchemaOf<TimerRecord>();
template <> const TableSchema<DatabaseRecord>& SchemaOf<DatabaseRecord>();
template <> const TableSchema<UserRecord>& SchemaOf<UserRecord>();
template <> const TableSchema<TrendRecord>& SchemaOf<TrendRecord>();
template <> const TableSchema<IoPortRecord>& SchemaOf<IoPortRecord>();
template <> const TableSchema<IoDeviceRecord>& SchemaOf<IoDeviceRecord>();
template <> const TableSchema<IoTagRecord>& SchemaOf<IoTagRecord>();
template <> const TableSchema<OutputRecord>& SchemaOf<OutputRecord>();
template <> const TableSchema<AlarmRecord>& SchemaOf<AlarmRecord>();
template <> const TableSchema<ScriptRecord>& SchemaOf<ScriptRecord>();

// The ten record slots of a ConfigTableSet (General, slot 0, is not a
// record table), in slot order.
inline constexpr auto kRecordSlots = std::make_tuple(
    &ConfigTableSet::timers, &ConfigTableSet::databases, &ConfigTableSet::users,
    &ConfigTableSet::trends, &ConfigTableSet::ioPorts, &ConfigTableSet::ioDevices,
    &ConfigTableSet::ioTags, &ConfigTableSet::outputs, &ConfigTableSet::alarms,
    &ConfigTableSet::scripts);

// The record type of a slot member.
template <class Member>
using SlotRecord = typename std::remove_cvref_t<
    decltype(std::declval<ConfigTableSet>().*std::declval<Member>())>::element_type::mapped_type;

// The slot of the table of `Record`.
template <class Record>
constexpr int SlotOf() {
  int slot = kSlotGeneral;
  int found = -1;
  std::apply(
      [&](auto... members) {
        ((++slot, found = std::is_same_v<SlotRecord<decltype(members)>, Record> ? slot : found),
         ...);
      },
      kRecordSlots);
  return found;
}

// Calls `visit(member)` for each record slot member, in slot order,
// stopping at the first non-zero result, which it returns.
template <class Visit>
int32_t ForEachRecordSlot(Visit&& visit) {
  return std::apply(
      [&](auto... members) {
        int32_t code = 0;
        ((code = code != 0 ? code : visit(members)), ...);
        return code;
      },
      kRecordSlots);
}

// Calls `visit(schema)` for every record table, in slot order.
template <class Visit>
int32_t ForEachSchema(Visit&& visit) {
  return ForEachRecordSlot(
      [&](auto member) { return visit(SchemaOf<SlotRecord<decltype(member)>>()); });
}

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TABLES_H_
