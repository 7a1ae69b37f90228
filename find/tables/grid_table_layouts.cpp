#include "find/tables/grid_table_layouts.h"

namespace qm {
namespace {

// General: three keys, each searched only when present. No column: the
// result keeps column -1 and an empty column title, and its label is the
// key's display name.
template <size_t Key>
FieldValue GeneralValue(const GeneralTable& table) {
  auto found = table.find(std::u16string(kGeneralSearchedKeys[Key].key));
  return {.text = found == table.end() ? nullptr : &found->second};
}

template <size_t Key>
constexpr FieldDescriptor<GeneralTable> GeneralField() {
  return {{-1, u"", kGeneralSearchedKeys[Key].label, TextForm::kText}, &GeneralValue<Key>};
}

constexpr FieldDescriptor<GeneralTable> kGeneralFields[] = {GeneralField<0>(), GeneralField<1>(),
                                                            GeneralField<2>()};

constexpr FieldDescriptor<TimerRecord> kTimerFields[] = {
    NameField<TimerRecord>(),
    DescriptionField<TimerRecord>(),
    NumberSetField<&TimerRecord::year>(4, u"Year", u"%s @ Year"),
    NumberSetField<&TimerRecord::month>(5, u"Month", u"%s @ Month"),
    NumberSetField<&TimerRecord::day>(6, u"Day", u"%s @ Day"),
    NumberSetField<&TimerRecord::dayOfWeek>(7, u"Day of Week", u"%s @ Day of Week"),
    NumberSetField<&TimerRecord::hour>(8, u"Hour", u"%s @ Hour"),
    NumberSetField<&TimerRecord::minute>(9, u"Minute", u"%s @ Minute"),
    NumberSetField<&TimerRecord::second>(10, u"Second", u"%s @ Second"),
    NumberSetField<&TimerRecord::millisecond>(11, u"Millisecond", u"%s @ Millisecond"),
};

constexpr FieldDescriptor<DatabaseRecord> kDatabaseFields[] = {
    NameField<DatabaseRecord>(),
    DescriptionField<DatabaseRecord>(),
    TextField<&DatabaseRecord::connectionString>(4, u"Connection String",
                                                 u"%s @ Connection String"),
    ReferenceField<&DatabaseRecord::logTimerId>(5, u"Log", u"%s @ Log", LookupId::kTimerNames),
    ReferenceField<&DatabaseRecord::purgeTimerId>(6, u"Purge", u"%s @ Purge",
                                                  LookupId::kTimerNames),
    NumberField<&DatabaseRecord::purgeCount>(7, u"Purge Count", u"%s @ Purge Count"),
    EnumField<&DatabaseRecord::purgeType>(8, u"Purge Type", u"%s @ Purge Type", kPurgeTypeNames),
    NumberField<&DatabaseRecord::groupId>(9, u"Group ID", u"%s @ Group ID"),
};

constexpr FieldDescriptor<OutputRecord> kOutputFields[] = {
    NameField<OutputRecord>(),
    DescriptionField<OutputRecord>(),
    TextField<&OutputRecord::header>(4, u"Header", u"%s @ Header"),
    TextField<&OutputRecord::content>(5, u"Content", u"%s @ Content"),
    TextField<&OutputRecord::footer>(6, u"Footer", u"%s @ Footer"),
};

// The compare items of an alarm are tags when it compares with tags and
// values when it compares with values (any other trigger: neither); the
// second one only for the range conditions, which use both.
bool ComparesTags(const AlarmRecord& alarm) { return alarm.triggerBy == 1; }
bool ComparesTagRange(const AlarmRecord& alarm) {
  return alarm.triggerBy == 1 && IsRangeCondition(alarm.condition);
}
bool ComparesValues(const AlarmRecord& alarm) { return alarm.triggerBy == 0; }
bool ComparesValueRange(const AlarmRecord& alarm) {
  return alarm.triggerBy == 0 && IsRangeCondition(alarm.condition);
}

constexpr FieldDescriptor<AlarmRecord> kAlarmFields[] = {
    NameField<AlarmRecord>(),
    DescriptionField<AlarmRecord>(),
    TextField<&AlarmRecord::message>(4, u"Message", u"%s @ Message"),
    TextField<&AlarmRecord::groupName>(5, u"Group Name", u"%s @ Group Name"),
    ReferenceField<&AlarmRecord::logTo>(6, u"Log To", u"%s @ Log To", LookupId::kDatabaseNames),
    ReferenceField<&AlarmRecord::outputTo>(7, u"Output To", u"%s @ Output To",
                                           LookupId::kOutputNames),
    ReferenceField<&AlarmRecord::tagId>(8, u"Tag Name", u"%s @ Tag Name", LookupId::kTagNames),
    EnumField<&AlarmRecord::triggerBy>(9, u"Trigger By", u"%s @ Trigger By", kCompareItemNames),
    EnumField<&AlarmRecord::condition>(10, u"Condition", u"%s @ Condition", kAlarmConditionNames),
    When(&ComparesTags, ReferenceField<&AlarmRecord::compareTag1>(
                            11, u"Compare Item 1", u"%s @ Compare Item 1", LookupId::kTagNames)),
    When(&ComparesTagRange,
         ReferenceField<&AlarmRecord::compareTag2>(12, u"Compare Item 2", u"%s @ Compare Item 2",
                                                   LookupId::kTagNames)),
    When(&ComparesValues,
         VariantField<&AlarmRecord::compareValue1>(11, u"Compare Item 1", u"%s @ Compare Item 1")),
    When(&ComparesValueRange,
         VariantField<&AlarmRecord::compareValue2>(12, u"Compare Item 2", u"%s @ Compare Item 2")),
    EnumField<&AlarmRecord::deadbandType>(13, u"Deadband Type", u"%s @ Deadband Type",
                                          kDeadbandTypeNames),
    RealField<&AlarmRecord::deadband>(14, u"Deadband", u"%s @ Deadband"),
    EnumField<&AlarmRecord::type>(15, u"Type", u"%s @ Type", kAlarmKindNames),
};

// Grid column 4 of the User grid is never searched.
constexpr FieldDescriptor<UserRecord> kUserFields[] = {
    NameField<UserRecord>(),
    DescriptionField<UserRecord>(),
    DateField<&UserRecord::expire>(5, u"Expire", u"%s @ Expire"),
    NumberField<&UserRecord::security>(6, u"Security", u"%s @ Security"),
};

// The triggerer is a timer or a tag by Trigger By; an Auto script has none.
bool TriggeredByTimer(const ScriptRecord& script) { return script.triggerBy == 1; }
bool TriggeredByTag(const ScriptRecord& script) { return script.triggerBy == 2; }

constexpr FieldDescriptor<ScriptRecord> kScriptFields[] = {
    NameField<ScriptRecord>(),
    DescriptionField<ScriptRecord>(),
    TextField<&ScriptRecord::fileName>(4, u"File Name", u"%s @ File Name"),
    EnumField<&ScriptRecord::triggerBy>(5, u"Trigger By", u"%s @ Trigger By", kScriptTriggerNames),
    When(&TriggeredByTimer, ReferenceField<&ScriptRecord::triggerer>(
                                6, u"Triggerer", u"%s @ Triggerer", LookupId::kTimerNames)),
    When(&TriggeredByTag, ReferenceField<&ScriptRecord::triggerer>(
                              6, u"Triggerer", u"%s @ Triggerer", LookupId::kTagNames)),
};

constexpr FieldDescriptor<IoPortRecord> kIoPortFields[] = {
    NameField<IoPortRecord>(),
    DescriptionField<IoPortRecord>(),
    TextField<&IoPortRecord::header>(4, u"Header", u"%s @ Header"),
};

constexpr FieldDescriptor<IoDeviceRecord> kIoDeviceFields[] = {
    NameField<IoDeviceRecord>(),
    DescriptionField<IoDeviceRecord>(),
    NumberField<&IoDeviceRecord::address>(4, u"Address", u"%s @ Address"),
    TextField<&IoDeviceRecord::path>(5, u"Path", u"%s @ Path"),
    ReferenceField<&IoDeviceRecord::timerId>(6, u"Timer", u"%s @ Timer", LookupId::kTimerNames),
    TextField<&IoDeviceRecord::driver>(7, u"Driver", u"%s @ Driver"),
};

constexpr FieldDescriptor<IoTagRecord> kIoTagFields[] = {
    NameField<IoTagRecord>(),
    DescriptionField<IoTagRecord>(),
    TextField<&IoTagRecord::path>(4, u"Path", u"%s @ Path"),
    NumberField<&IoTagRecord::address>(5, u"Address", u"%s @ Address"),
    NumberField<&IoTagRecord::batch>(6, u"Batch", u"%s @ Batch"),
    EnumField<&IoTagRecord::type>(7, u"Type", u"%s @ Type", kTagDataTypeNames),
    VariantField<&IoTagRecord::startup>(8, u"Startup", u"%s @ Startup"),
    VariantField<&IoTagRecord::fallback>(9, u"Fallback", u"%s @ Fallback"),
    NumberField<&IoTagRecord::r>(10, u"R", u"%s @ R"),
    NumberField<&IoTagRecord::w>(11, u"W", u"%s @ W"),
    ReferenceField<&IoTagRecord::logDb>(12, u"Log", u"%s @ Log", LookupId::kDatabaseNames),
    ReferenceField<&IoTagRecord::persistDb>(13, u"Persist", u"%s @ Persist",
                                            LookupId::kDatabaseNames),
};

}  // namespace

const TableLayout<GeneralTable> kGeneralLayout = {.number = kTableGeneral,
                                                  .location = u"Grid Table: General",
                                                  .fields = kGeneralFields,
                                                  .labelsTakeName = false};
const TableLayout<TimerRecord> kTimerLayout = {kTableTimer, u"Grid Table: Timer", kTimerFields};
const TableLayout<DatabaseRecord> kDatabaseLayout = {kTableDatabase, u"Grid Table: Database",
                                                     kDatabaseFields};
const TableLayout<OutputRecord> kOutputLayout = {kTableOutput, u"Grid Table: Output",
                                                 kOutputFields};
const TableLayout<AlarmRecord> kAlarmLayout = {kTableAlarm, u"Grid Table: Alarm", kAlarmFields};
const TableLayout<UserRecord> kUserLayout = {kTableUser, u"Grid Table: User", kUserFields};
const TableLayout<ScriptRecord> kScriptLayout = {kTableScript, u"Grid Table: Script",
                                                 kScriptFields};
const TableLayout<IoPortRecord> kIoPortLayout = {kTableIo, u"Grid Table: IO", kIoPortFields};
const TableLayout<IoDeviceRecord> kIoDeviceLayout = {
    .number = kTableIoDevices,
    .location = u"Grid Table: %s",
    .fields = kIoDeviceFields,
    .ownerId = [](const IoDeviceRecord& device) { return device.portId; },
    .ownerName = [](const IoDeviceRecord& device) -> const std::u16string& {
      return device.portName;
    },
    .owner = {-1, u"Port", u"%s @ Port", TextForm::kReference}};
const TableLayout<IoTagRecord> kIoTagLayout = {
    .number = kTableIoTags,
    .location = u"Grid Table: %s",
    .fields = kIoTagFields,
    .ownerId = [](const IoTagRecord& tag) { return tag.deviceId; },
    .ownerName = [](const IoTagRecord& tag) -> const std::u16string& { return tag.deviceName; },
    .owner = {-1, u"Device", u"%s @ Device", TextForm::kReference}};

}  // namespace qm
