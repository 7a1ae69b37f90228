// From a table number to its records and its layout: the one switch that
// every walk of a record table goes through.
#ifndef QMPECORE_FIND_TABLES_RECORD_TABLES_H_
#define QMPECORE_FIND_TABLES_RECORD_TABLES_H_

#include "find/tables/grid_table_layouts.h"
#include "find/tables/trend_layout.h"
#include "qmpecore/config_records.h"

namespace qm {

// Calls `visit(table, layout)` with the record table numbered `number` in
// `set` (a pointer, null for a freed slot) and its layout, and returns
// true; false for General and for numbers that name no record table.
template <class Visit>
bool WithRecordTable(int32_t number, const ConfigTableSet& set, Visit&& visit) {
  switch (number) {
    case kTableTimer:
      return visit(set.timers.get(), kTimerLayout), true;
    case kTableIo:
      return visit(set.ioPorts.get(), kIoPortLayout), true;
    case kTableDatabase:
      return visit(set.databases.get(), kDatabaseLayout), true;
    case kTableUser:
      return visit(set.users.get(), kUserLayout), true;
    case kTableOutput:
      return visit(set.outputs.get(), kOutputLayout), true;
    case kTableAlarm:
      return visit(set.alarms.get(), kAlarmLayout), true;
    case kTableScript:
      return visit(set.scripts.get(), kScriptLayout), true;
    case kTableIoDevices:
      return visit(set.ioDevices.get(), kIoDeviceLayout), true;
    case kTableIoTags:
      return visit(set.ioTags.get(), kIoTagLayout), true;
    case kTableTrend:
      return visit(set.trends.get(), kTrendLayout), true;
    default:
      return false;
  }
}

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_RECORD_TABLES_H_
