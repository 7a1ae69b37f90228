// The layouts of the ten grid tables that the find searches: which fields
// each tests, in the order of its grid's columns, and how.
#ifndef QMPECORE_FIND_TABLES_GRID_TABLE_LAYOUTS_H_
#define QMPECORE_FIND_TABLES_GRID_TABLE_LAYOUTS_H_

#include "find/tables/field_descriptors.h"
#include "qmpecore/config_records.h"

namespace qm {

// The General keys that the find searches, each with the label of its
// results (which have no column).
struct GeneralSearchedKey {
  std::u16string_view label;
  std::u16string_view key;
};
inline constexpr GeneralSearchedKey kGeneralSearchedKeys[] = {
    {u"Project ID", kGeneralProjectId},
    {u"Pre-launch", kGeneralPreLaunch},
    {u"Post-launch", kGeneralPostLaunch},
};

// The General table is searched as one row: the table itself.
extern const TableLayout<GeneralTable> kGeneralLayout;
extern const TableLayout<TimerRecord> kTimerLayout;
extern const TableLayout<DatabaseRecord> kDatabaseLayout;
extern const TableLayout<OutputRecord> kOutputLayout;
extern const TableLayout<AlarmRecord> kAlarmLayout;
extern const TableLayout<UserRecord> kUserLayout;
extern const TableLayout<ScriptRecord> kScriptLayout;
extern const TableLayout<IoPortRecord> kIoPortLayout;
extern const TableLayout<IoDeviceRecord> kIoDeviceLayout;
extern const TableLayout<IoTagRecord> kIoTagLayout;

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_GRID_TABLE_LAYOUTS_H_
