// The ten record tables of the project file, column by column in stored
// order (docs/project-format.md).
#include "qmcfg/tables.h"

namespace qm::cfg {

template <>
const TableSchema<TimerRecord>& SchemaOf<TimerRecord>() {
  using R = TimerRecord;
  static const TableSchema<R> schema{
      "timers",
      {{"year", &R::year},
       {"month", &R::month},
       {"day", &R::day},
       {"day_of_week", &R::dayOfWeek},
       {"hour", &R::hour},
       {"minute", &R::minute},
       {"second", &R::second},
       {"millisecond", &R::millisecond}},
      std::nullopt};
  return schema;
}

template <>
const TableSchema<DatabaseRecord>& SchemaOf<DatabaseRecord>() {
  using R = DatabaseRecord;
  static const TableSchema<R> schema{
      "databases",
      {{"group_id", &R::groupId},
       {"connection_string", &R::connectionString},
       {"log_timer", &R::logTimerId},
       {"purge_timer", &R::purgeTimerId},
       {"purge_type", &R::purgeType},
       {"purge_count", &R::purgeCount}},
      std::nullopt};
  return schema;
}

template <>
const TableSchema<UserRecord>& SchemaOf<UserRecord>() {
  using R = UserRecord;
  static const TableSchema<R> schema{
      "users",
      {{"password_hash", &R::passwordHash}, {"security", &R::security}, {"expire", &R::expire}},
      std::nullopt};
  return schema;
}

template <>
const TableSchema<TrendRecord>& SchemaOf<TrendRecord>() {
  using R = TrendRecord;
  static const TableSchema<R> schema{
      "trends", {{"tag_id", &R::tagId}, {"period_ms", &R::periodMs}}, std::nullopt};
  return schema;
}

template <>
const TableSchema<IoPortRecord>& SchemaOf<IoPortRecord>() {
  using R = IoPortRecord;
  static const TableSchema<R> schema{"io_ports", {{"header", &R::header}}, std::nullopt};
  return schema;
}

template <>
const TableSchema<IoDeviceRecord>& SchemaOf<IoDeviceRecord>() {
  using R = IoDeviceRecord;
  static const TableSchema<R> schema{
      "io_devices",
      {{"port_id", &R::portId},
       {"address", &R::address},
       {"path", &R::path},
       {"driver", &R::driver},
       {"timer_id", &R::timerId}},
      Owner<R>{"port_id", "io_ports", &R::portId, &R::portName}};
  return schema;
}

template <>
const TableSchema<IoTagRecord>& SchemaOf<IoTagRecord>() {
  using R = IoTagRecord;
  static const TableSchema<R> schema{
      "io_tags",
      {{"device_id", &R::deviceId},
       {"address", &R::address},
       {"path", &R::path},
       {"type", &R::type},
       {"batch", &R::batch},
       {"log_db", &R::logDb},
       {"persist_db", &R::persistDb},
       {"r", &R::r},
       {"w", &R::w},
       {"startup", &R::startup},
       {"fallback", &R::fallback}},
      Owner<R>{"device_id", "io_devices", &R::deviceId, &R::deviceName}};
  return schema;
}

template <>
const TableSchema<OutputRecord>& SchemaOf<OutputRecord>() {
  using R = OutputRecord;
  static const TableSchema<R> schema{
      "outputs",
      {{"output_no", &R::outputNo},
       {"format", &R::format},
       {"header", &R::header},
       {"content", &R::content},
       {"footer", &R::footer}},
      std::nullopt};
  return schema;
}

template <>
const TableSchema<AlarmRecord>& SchemaOf<AlarmRecord>() {
  using R = AlarmRecord;
  static const TableSchema<R> schema{
      "alarms",
      {{"message", &R::message},
       {"group_name", &R::groupName},
       {"tag_id", &R::tagId},
       {"trigger_by", &R::triggerBy},
       {"condition", &R::condition},
       {"compare_tag1", &R::compareTag1},
       {"compare_tag2", &R::compareTag2},
       {"compare_value1", &R::compareValue1},
       {"compare_value2", &R::compareValue2},
       {"deadband_type", &R::deadbandType},
       {"deadband", &R::deadband},
       {"type", &R::type},
       {"log_to", &R::logTo},
       {"output_to", &R::outputTo}},
      std::nullopt};
  return schema;
}

template <>
const TableSchema<ScriptRecord>& SchemaOf<ScriptRecord>() {
  using R = ScriptRecord;
  static const TableSchema<R> schema{
      "scripts",
      {{"file_name", &R::fileName}, {"trigger_by", &R::triggerBy}, {"triggerer", &R::triggerer}},
      std::nullopt};
  return schema;
}

}  // namespace qm::cfg
