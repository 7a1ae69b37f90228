// Columns follow the grid's order; fields that the grid does not show (a
// trend's tag, an output's number and format, a user's password hash, the
// owner of a device or a tag) have titles of their own.
#include "exchange/exchange_fields.h"

namespace qm::exchange {
namespace {

template <class Pointer>
struct MemberClass;
template <class Class, class Type>
struct MemberClass<Type Class::*> {
  using type = Class;
};

template <auto Member>
FieldRef At(typename MemberClass<decltype(Member)>::type& record) {
  return &(record.*Member);
}

template <class R>
FieldRef IdOf(R& record) {
  return &record.head.id;
}
template <class R>
FieldRef NameOf(R& record) {
  return &record.head.name;
}
template <class R>
FieldRef DescriptionOf(R& record) {
  return &record.head.description;
}

template <class R>
constexpr ExchangeField<R> IdField() {
  return {u"ID", FieldForm::kId, &IdOf<R>, {}, {}, Referred::kTimer, nullptr, 1, INT32_MAX};
}
template <class R>
constexpr ExchangeField<R> NameField() {
  return {u"Name", FieldForm::kText, &NameOf<R>};
}
template <class R>
constexpr ExchangeField<R> DescriptionField() {
  return {u"Description", FieldForm::kText, &DescriptionOf<R>};
}

template <auto Member>
constexpr auto Field(std::u16string_view title, FieldForm form) {
  using R = typename MemberClass<decltype(Member)>::type;
  return ExchangeField<R>{title, form, &At<Member>};
}
template <auto Member>
constexpr auto EnumField(std::u16string_view title, std::span<const EnumName> names,
                         int64_t maximum = INT32_MAX) {
  auto field = Field<Member>(title, FieldForm::kEnum);
  field.names = names;
  field.minimum = maximum == INT32_MAX ? INT32_MIN : 0;
  field.maximum = maximum;
  return field;
}
template <auto Member>
constexpr auto ReferenceField(std::u16string_view title, std::u16string_view idTitle,
                              Referred referred) {
  auto field = Field<Member>(title, FieldForm::kReference);
  field.secondTitle = idTitle;
  field.referred = referred;
  return field;
}
template <auto Member>
constexpr auto VariantField(std::u16string_view title, std::u16string_view typeTitle) {
  auto field = Field<Member>(title, FieldForm::kVariant);
  field.secondTitle = typeTitle;
  return field;
}
template <auto Member, auto NameMember>
constexpr auto OwnerField(std::u16string_view title, std::u16string_view idTitle,
                          Referred referred) {
  auto field = ReferenceField<Member>(title, idTitle, referred);
  field.form = FieldForm::kOwner;
  field.ownerName = [](typename MemberClass<decltype(Member)>::type& record) {
    return &(record.*NameMember);
  };
  return field;
}

template <class R, class... Rest>
constexpr std::array<ExchangeField<R>, 3 + sizeof...(Rest)> Head(Rest... rest) {
  return {IdField<R>(), NameField<R>(), DescriptionField<R>(), rest...};
}

using F = FieldForm;

constexpr auto kTimerFields = Head<TimerRecord>(
    Field<&TimerRecord::year>(u"Year", F::kNumberSet),
    Field<&TimerRecord::month>(u"Month", F::kNumberSet),
    Field<&TimerRecord::day>(u"Day", F::kNumberSet),
    Field<&TimerRecord::dayOfWeek>(u"Day of Week", F::kNumberSet),
    Field<&TimerRecord::hour>(u"Hour", F::kNumberSet),
    Field<&TimerRecord::minute>(u"Minute", F::kNumberSet),
    Field<&TimerRecord::second>(u"Second", F::kNumberSet),
    Field<&TimerRecord::millisecond>(u"Millisecond", F::kNumberSet));

constexpr auto kDatabaseFields = Head<DatabaseRecord>(
    Field<&DatabaseRecord::connectionString>(u"Connection String", F::kText),
    ReferenceField<&DatabaseRecord::logTimerId>(u"Log", u"Log ID", Referred::kTimer),
    ReferenceField<&DatabaseRecord::purgeTimerId>(u"Purge", u"Purge ID", Referred::kTimer),
    Field<&DatabaseRecord::purgeCount>(u"Purge Count", F::kNumber),
    EnumField<&DatabaseRecord::purgeType>(u"Purge Type", kPurgeTypeNames),
    Field<&DatabaseRecord::groupId>(u"Group ID", F::kNumber));

constexpr auto kUserFields = Head<UserRecord>(
    Field<&UserRecord::passwordHash>(u"Password Hash", F::kText),
    Field<&UserRecord::expire>(u"Expire", F::kDate),
    Field<&UserRecord::security>(u"Security", F::kNumber));

constexpr auto kTrendFields = Head<TrendRecord>(
    ReferenceField<&TrendRecord::tagId>(u"Tag", u"Tag ID", Referred::kTag),
    Field<&TrendRecord::periodMs>(u"Period (ms)", F::kNumber));

constexpr auto kIoPortFields = Head<IoPortRecord>(Field<&IoPortRecord::header>(u"Header", F::kText));

constexpr auto kIoDeviceFields = Head<IoDeviceRecord>(
    OwnerField<&IoDeviceRecord::portId, &IoDeviceRecord::portName>(u"Port", u"Port ID",
                                                                   Referred::kPort),
    Field<&IoDeviceRecord::address>(u"Address", F::kNumber),
    Field<&IoDeviceRecord::path>(u"Path", F::kText),
    ReferenceField<&IoDeviceRecord::timerId>(u"Timer", u"Timer ID", Referred::kTimer),
    Field<&IoDeviceRecord::driver>(u"Driver", F::kText));

constexpr auto kIoTagFields = Head<IoTagRecord>(
    OwnerField<&IoTagRecord::deviceId, &IoTagRecord::deviceName>(u"Device", u"Device ID",
                                                                 Referred::kDevice),
    Field<&IoTagRecord::path>(u"Path", F::kText),
    Field<&IoTagRecord::address>(u"Address", F::kNumber),
    Field<&IoTagRecord::batch>(u"Batch", F::kNumber),
    EnumField<&IoTagRecord::type>(u"Type", kTagDataTypeNames, UINT16_MAX),
    VariantField<&IoTagRecord::startup>(u"Startup", u"Startup Type"),
    VariantField<&IoTagRecord::fallback>(u"Fallback", u"Fallback Type"),
    Field<&IoTagRecord::r>(u"R", F::kNumber),
    Field<&IoTagRecord::w>(u"W", F::kNumber),
    ReferenceField<&IoTagRecord::logDb>(u"Log", u"Log ID", Referred::kDatabase),
    ReferenceField<&IoTagRecord::persistDb>(u"Persist", u"Persist ID", Referred::kDatabase));

constexpr auto kOutputFields = Head<OutputRecord>(
    Field<&OutputRecord::outputNo>(u"Output No", F::kNumber),
    Field<&OutputRecord::format>(u"Format", F::kNumber),
    Field<&OutputRecord::header>(u"Header", F::kText),
    Field<&OutputRecord::content>(u"Content", F::kText),
    Field<&OutputRecord::footer>(u"Footer", F::kText));

constexpr auto kAlarmFields = Head<AlarmRecord>(
    Field<&AlarmRecord::message>(u"Message", F::kText),
    Field<&AlarmRecord::groupName>(u"Group Name", F::kText),
    ReferenceField<&AlarmRecord::logTo>(u"Log To", u"Log To ID", Referred::kDatabase),
    ReferenceField<&AlarmRecord::outputTo>(u"Output To", u"Output To ID", Referred::kOutput),
    ReferenceField<&AlarmRecord::tagId>(u"Tag Name", u"Tag ID", Referred::kTag),
    EnumField<&AlarmRecord::triggerBy>(u"Trigger By", kCompareItemNames),
    EnumField<&AlarmRecord::condition>(u"Condition", kAlarmConditionNames),
    ReferenceField<&AlarmRecord::compareTag1>(u"Compare Tag 1", u"Compare Tag 1 ID",
                                              Referred::kTag),
    ReferenceField<&AlarmRecord::compareTag2>(u"Compare Tag 2", u"Compare Tag 2 ID",
                                              Referred::kTag),
    VariantField<&AlarmRecord::compareValue1>(u"Compare Value 1", u"Compare Value 1 Type"),
    VariantField<&AlarmRecord::compareValue2>(u"Compare Value 2", u"Compare Value 2 Type"),
    EnumField<&AlarmRecord::deadbandType>(u"Deadband Type", kDeadbandTypeNames),
    Field<&AlarmRecord::deadband>(u"Deadband", F::kReal),
    EnumField<&AlarmRecord::type>(u"Type", kAlarmKindNames));

constexpr auto kScriptFields = Head<ScriptRecord>(
    Field<&ScriptRecord::fileName>(u"File Name", F::kText),
    EnumField<&ScriptRecord::triggerBy>(u"Trigger By", kScriptTriggerNames),
    ReferenceField<&ScriptRecord::triggerer>(u"Triggerer", u"Triggerer ID", Referred::kTriggerer));

}  // namespace

template <>
std::span<const ExchangeField<TimerRecord>> FieldsOf() {
  return kTimerFields;
}
template <>
std::span<const ExchangeField<DatabaseRecord>> FieldsOf() {
  return kDatabaseFields;
}
template <>
std::span<const ExchangeField<UserRecord>> FieldsOf() {
  return kUserFields;
}
template <>
std::span<const ExchangeField<TrendRecord>> FieldsOf() {
  return kTrendFields;
}
template <>
std::span<const ExchangeField<IoPortRecord>> FieldsOf() {
  return kIoPortFields;
}
template <>
std::span<const ExchangeField<IoDeviceRecord>> FieldsOf() {
  return kIoDeviceFields;
}
template <>
std::span<const ExchangeField<IoTagRecord>> FieldsOf() {
  return kIoTagFields;
}
template <>
std::span<const ExchangeField<OutputRecord>> FieldsOf() {
  return kOutputFields;
}
template <>
std::span<const ExchangeField<AlarmRecord>> FieldsOf() {
  return kAlarmFields;
}
template <>
std::span<const ExchangeField<ScriptRecord>> FieldsOf() {
  return kScriptFields;
}

}  // namespace qm::exchange
