// The project configuration as the editor core and the configuration store
// share it in memory: records, the eleven tables of a table set, table
// numbers and the enumerations that turn stored numbers into grid texts.
//
// The application, qmpecore and qmcfg all use these types directly, so they
// must be built with the same compiler and standard library.
#ifndef QMPECORE_CONFIG_RECORDS_H_
#define QMPECORE_CONFIG_RECORDS_H_

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

namespace qm {

// A handle of a configuration opened in qmcfg; 0 means none.
using ConfigHandle = std::uintptr_t;

// OLE Automation VARTYPE codes known to the project file layout.
enum VarType : uint16_t {
  kVtEmpty = 0,
  kVtNull = 1,
  kVtI2 = 2,
  kVtI4 = 3,
  kVtR4 = 4,
  kVtR8 = 5,
  kVtDate = 7,
  kVtBstr = 8,
  kVtBool = 11,
  kVtI1 = 16,
  kVtUi1 = 17,
  kVtUi2 = 18,
  kVtUi4 = 19,
  kVtI8 = 20,
  kVtUi8 = 21,
};

// A tagged value in place of an OLE VARIANT. Which member holds the value
// follows from `type`: the integer types (and VT_BOOL, 0 false, else true)
// use `integer` (VT_UI8 stores its 64 bits there unchanged), VT_R4, VT_R8
// and VT_DATE use `real`, VT_BSTR uses `text`. Empty and null hold nothing.
struct Variant {
  uint16_t type = kVtEmpty;
  int64_t integer = 0;
  double real = 0.0;
  std::u16string text;

  friend bool operator==(const Variant&, const Variant&) = default;
};

// An ordered set of unsigned 16-bit numbers (a timer's years, hours, ...).
using ValueSet = std::set<uint16_t>;

// Every record of the tables numbered 1 to 21 begins with this head.
// `ownerTable` and `editState` belong to the application (which table a
// record was made for, and its own edit bookkeeping); the core never reads
// them and the store neither saves nor restores them.
struct RecordHead {
  int32_t ownerTable = 0;
  int32_t id = 0;
  std::u16string name;
  int32_t editState = 0;
  std::u16string description;

  friend bool operator==(const RecordHead&, const RecordHead&) = default;
};

struct TimerRecord {
  RecordHead head;
  ValueSet year, month, day, dayOfWeek, hour, minute, second, millisecond;
  friend bool operator==(const TimerRecord&, const TimerRecord&) = default;
};

struct DatabaseRecord {
  RecordHead head;
  int32_t groupId = 0;
  std::u16string connectionString;
  int32_t logTimerId = 0;
  int32_t purgeTimerId = 0;
  int32_t purgeType = 0;
  int32_t purgeCount = 0;
  friend bool operator==(const DatabaseRecord&, const DatabaseRecord&) = default;
};

struct UserRecord {
  RecordHead head;
  std::u16string passwordHash;  // never searched, never shown
  int32_t security = 0;
  double expire = 0.0;  // OLE Automation date
  friend bool operator==(const UserRecord&, const UserRecord&) = default;
};

// Slot 4: carried along and saved with the whole configuration only.
struct TrendRecord {
  RecordHead head;
  int32_t tagId = 0;
  int32_t periodMs = 0;
  friend bool operator==(const TrendRecord&, const TrendRecord&) = default;
};

struct IoPortRecord {
  RecordHead head;
  std::u16string header;
  friend bool operator==(const IoPortRecord&, const IoPortRecord&) = default;
};

struct IoDeviceRecord {
  RecordHead head;
  int32_t address = 0;
  std::u16string path;
  std::u16string driver;
  int32_t portId = 0;
  std::u16string portName;  // read with the record, never stored twice
  int32_t timerId = 0;
  friend bool operator==(const IoDeviceRecord&, const IoDeviceRecord&) = default;
};

struct IoTagRecord {
  RecordHead head;
  int32_t address = 0;
  std::u16string path;
  uint16_t type = 0;  // a VARTYPE code
  int32_t batch = 0;
  int32_t deviceId = 0;
  std::u16string deviceName;  // read with the record, never stored twice
  int32_t logDb = 0;          // database group ids
  int32_t persistDb = 0;
  int32_t r = 0;
  int32_t w = 0;
  Variant startup;
  Variant fallback;
  friend bool operator==(const IoTagRecord&, const IoTagRecord&) = default;
};

struct OutputRecord {
  RecordHead head;
  int32_t outputNo = 0;
  int32_t format = 0;  // not used by the editor core
  std::u16string header;
  std::u16string content;
  std::u16string footer;
  friend bool operator==(const OutputRecord&, const OutputRecord&) = default;
};

struct AlarmRecord {
  RecordHead head;
  std::u16string message;
  std::u16string groupName;
  int32_t tagId = 0;
  int32_t triggerBy = 0;  // CompareItem
  int32_t condition = 0;  // AlarmCondition
  int32_t compareTag1 = 0;
  int32_t compareTag2 = 0;
  Variant compareValue1;
  Variant compareValue2;
  int32_t deadbandType = 0;
  double deadband = 0.0;
  int32_t type = 0;      // AlarmKind
  int32_t logTo = 0;     // a database group id
  int32_t outputTo = 0;  // an output number
  friend bool operator==(const AlarmRecord&, const AlarmRecord&) = default;
};

struct ScriptRecord {
  RecordHead head;
  std::u16string fileName;
  int32_t triggerBy = 0;  // ScriptTrigger
  int32_t triggerer = 0;  // timer id or tag id, by triggerBy
  friend bool operator==(const ScriptRecord&, const ScriptRecord&) = default;
};

// Every table maps a key text to a record and walks in key order. Record
// keys are the id as ten decimal digits ("0000000042"), see RecordKey().
template <class Record>
using RecordTable = std::map<std::u16string, Record>;

using GeneralTable = std::map<std::u16string, std::u16string>;
using TimerTable = RecordTable<TimerRecord>;
using DatabaseTable = RecordTable<DatabaseRecord>;
using UserTable = RecordTable<UserRecord>;
using TrendTable = RecordTable<TrendRecord>;
using IoPortTable = RecordTable<IoPortRecord>;
using IoDeviceTable = RecordTable<IoDeviceRecord>;
using IoTagTable = RecordTable<IoTagRecord>;
using OutputTable = RecordTable<OutputRecord>;
using AlarmTable = RecordTable<AlarmRecord>;
using ScriptTable = RecordTable<ScriptRecord>;

// Slot numbers of a ConfigTableSet.
enum TableSlot : int {
  kSlotGeneral = 0,
  kSlotTimers = 1,
  kSlotDatabases = 2,
  kSlotUsers = 3,
  kSlotTrends = 4,
  kSlotIoPorts = 5,
  kSlotIoDevices = 6,
  kSlotIoTags = 7,
  kSlotOutputs = 8,
  kSlotAlarms = 9,
  kSlotScripts = 10,
  kSlotCount = 11,
};

// The eleven tables of one configuration, members in slot order. A set
// owns its tables; a slot is null while the set is freed (a closed
// configuration manager hands out such a set).
struct ConfigTableSet {
  std::unique_ptr<GeneralTable> general;
  std::unique_ptr<TimerTable> timers;
  std::unique_ptr<DatabaseTable> databases;
  std::unique_ptr<UserTable> users;
  std::unique_ptr<TrendTable> trends;
  std::unique_ptr<IoPortTable> ioPorts;
  std::unique_ptr<IoDeviceTable> ioDevices;
  std::unique_ptr<IoTagTable> ioTags;
  std::unique_ptr<OutputTable> outputs;
  std::unique_ptr<AlarmTable> alarms;
  std::unique_ptr<ScriptTable> scripts;

  // Destroys every table; every slot becomes null.
  void Free() { *this = ConfigTableSet(); }
  // Replaces every slot with a new empty table.
  void Renew();
};

// Calls `visit(slot, member)` for each of the eleven slot members of a
// ConfigTableSet, in slot order, so that whole-set and by-number operations
// are one loop.
template <class Visit>
void ForEachTableSlot(Visit&& visit) {
  int slot = kSlotGeneral;
  std::apply([&](auto... members) { (visit(slot++, members), ...); },
             std::make_tuple(&ConfigTableSet::general, &ConfigTableSet::timers,
                             &ConfigTableSet::databases, &ConfigTableSet::users,
                             &ConfigTableSet::trends, &ConfigTableSet::ioPorts,
                             &ConfigTableSet::ioDevices, &ConfigTableSet::ioTags,
                             &ConfigTableSet::outputs, &ConfigTableSet::alarms,
                             &ConfigTableSet::scripts));
}

// The table type held by a slot member.
template <class Member>
using SlotTableType = typename std::remove_reference_t<
    decltype(std::declval<ConfigTableSet&>().*std::declval<Member>())>::element_type;

inline void ConfigTableSet::Renew() {
  ForEachTableSlot([this](int, auto member) {
    this->*member = std::make_unique<SlotTableType<decltype(member)>>();
  });
}

// The records of all eleven tables (General entries included); a freed slot
// counts as empty.
inline size_t RecordCount(const ConfigTableSet& set) {
  size_t total = 0;
  ForEachTableSlot([&](int, auto member) { total += set.*member ? (set.*member)->size() : 0; });
  return total;
}

// The number by which save and find name a table (and 24, for results from
// project text files). Save also takes kAllTables.
enum TableNumber : int32_t {
  kAllTables = -1,
  kTableGeneral = 0,
  kTableTimer = 1,
  kTableIo = 2,
  kTableDatabase = 3,
  kTableUser = 4,
  kTableOutput = 5,
  kTableAlarm = 6,
  kTableScript = 7,
  kTableIoDevices = 20,
  kTableIoTags = 21,
  kTableTrend = 22,  // no grid, never searched: only the usages of a tag name it
  kTableFile = 24,
};

// A grid table: its number, the title used in find locations, and its slot.
struct GridTable {
  TableNumber number;
  std::u16string_view title;
  TableSlot slot;
};

inline constexpr std::array<GridTable, 10> kGridTables = {{
    {kTableGeneral, u"General", kSlotGeneral},
    {kTableTimer, u"Timer", kSlotTimers},
    {kTableIo, u"IO", kSlotIoPorts},
    {kTableDatabase, u"Database", kSlotDatabases},
    {kTableUser, u"User", kSlotUsers},
    {kTableOutput, u"Output", kSlotOutputs},
    {kTableAlarm, u"Alarm", kSlotAlarms},
    {kTableScript, u"Script", kSlotScripts},
    {kTableIoDevices, u"%s", kSlotIoDevices},  // titled by the owning port
    {kTableIoTags, u"%s", kSlotIoTags},        // titled by the owning device
}};

// The three General keys that the core reads and saves.
inline constexpr std::u16string_view kGeneralProjectId = u"project-id";
inline constexpr std::u16string_view kGeneralPreLaunch = u"pre-launch";
inline constexpr std::u16string_view kGeneralPostLaunch = u"post-launch";

// Enumerations: stored number to grid text. A number outside a list has the
// empty text (see EnumText).
struct EnumName {
  int32_t value;
  std::u16string_view text;
};

inline constexpr EnumName kCompareItemNames[] = {
    {0, u"Compare Value"}, {1, u"Compare Tag"}, {2, u"On Change"}};

inline constexpr EnumName kAlarmConditionNames[] = {
    {0, u"Equal (==)"},
    {1, u"Not Equal (<>)"},
    {2, u"Less Than (<)"},
    {3, u"Greater Than (>)"},
    {4, u"Less or Equal (<=)"},
    {5, u"Greater or Equal (>=)"},
    {6, u"Between (())"},
    {7, u"Between + Lower Limit ([))"},
    {8, u"Between + Upper Limit ((])"},
    {9, u"Between + Both End ([])"},
    {10, u"Outside ()()"},
    {11, u"Outside + Lower Limit ()[)"},
    {12, u"Outside + Upper Limit (]()"},
    {13, u"Outside + Both End (][)"},
};

inline constexpr EnumName kDeadbandTypeNames[] = {
    {0, u"No"}, {1, u"Actual"}, {2, u"Percentage"}};
inline constexpr EnumName kAlarmKindNames[] = {{0, u"Alarm"}, {1, u"Audit"}};
inline constexpr EnumName kScriptTriggerNames[] = {
    {0, u"Auto"}, {1, u"Timer"}, {2, u"Tag"}};
inline constexpr EnumName kPurgeTypeNames[] = {{0, u"Day"}, {1, u"Record"}};
inline constexpr EnumName kTagDataTypeNames[] = {
    {16, u"int8"},   {2, u"int16"},  {3, u"int32"},  {17, u"uint8"},
    {18, u"uint16"}, {19, u"uint32"}, {4, u"real32"}, {5, u"real64"},
    {8, u"string"},  {11, u"boolean"}};

// Alarm conditions 6 to 13 use both compare items.
inline constexpr bool IsRangeCondition(int32_t condition) {
  return condition >= 6 && condition <= 13;
}

template <size_t N>
constexpr std::u16string_view EnumText(const EnumName (&names)[N], int32_t value) {
  for (const EnumName& name : names) {
    if (name.value == value) return name.text;
  }
  return {};
}

// The map key of a record: its id as ten decimal digits with leading zeros.
// Ids are 1 to 2147483647, so ten digits always suffice.
inline std::u16string RecordKey(int32_t id) {
  std::u16string key(10, u'0');
  uint32_t rest = static_cast<uint32_t>(id);
  for (int i = 9; i >= 0 && rest != 0; --i) {
    key[static_cast<size_t>(i)] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  }
  return key;
}

// True when `key` is RecordKey(id), without making that text.
inline bool IsRecordKeyOf(std::u16string_view key, int32_t id) {
  if (key.size() != 10) return false;
  uint32_t rest = static_cast<uint32_t>(id);
  for (int i = 9; i >= 0; --i) {
    if (key[static_cast<size_t>(i)] != static_cast<char16_t>(u'0' + rest % 10)) return false;
    rest /= 10;
  }
  return rest == 0;
}

}  // namespace qm

#endif  // QMPECORE_CONFIG_RECORDS_H_
