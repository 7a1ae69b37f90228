// The searchable fields of the grid tables, as data: for each field its
// grid column, column title, label format, how its stored value becomes
// the text that is tested, and when it is tested at all. One searcher walks
// these descriptors for every table (see table_searchers.cpp).
#ifndef QMPECORE_FIND_TABLES_FIELD_DESCRIPTORS_H_
#define QMPECORE_FIND_TABLES_FIELD_DESCRIPTORS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "find/tables/name_lookups.h"
#include "qmpecore/config_records.h"

namespace qm {

// How a stored value becomes the text that is tested and reported.
enum class TextForm : uint8_t {
  kText,       // the stored text as it is
  kNumber,     // "%ld"
  kNumberSet,  // JoinNumberSet
  kEnum,       // the display text in `names`; an unlisted number gives ""
  kReference,  // the Name in `lookup`; an unknown number gives ""
  kDate,       // FormatShortDate with status valid
  kVariant,    // VariantToText
  kReal,       // the shortest decimal text that reads back to the double
};

// The name lookup through which a reference field shows its record.
enum class LookupId : uint8_t { kTimerNames, kDatabaseNames, kOutputNames, kTagNames };
inline constexpr size_t kLookupCount = 4;

inline const NameLookup& LookupOf(const NameLookups& lookups, LookupId id) {
  switch (id) {
    case LookupId::kTimerNames:
      return lookups.timerNames;
    case LookupId::kDatabaseNames:
      return lookups.databaseNames;
    case LookupId::kOutputNames:
      return lookups.outputNames;
    case LookupId::kTagNames:
      break;
  }
  return lookups.tagNames;
}

// The stored value of one field of one record. Which member holds it
// follows from the field's form; `text` null means that the field is
// absent from the record (a General key that is not there).
struct FieldValue {
  const std::u16string* text = nullptr;
  const ValueSet* numberSet = nullptr;
  const Variant* variant = nullptr;
  int64_t number = 0;  // kNumber, kEnum, kReference
  double real = 0.0;   // kDate, kReal
};

// The part of a field descriptor that does not depend on the record type.
struct FieldInfo {
  int32_t column;
  std::u16string_view title;        // the result's columnName
  std::u16string_view labelFormat;  // formatted with the record's Name
  TextForm form;
  std::span<const EnumName> names = {};     // kEnum only
  LookupId lookup = LookupId::kTimerNames;  // kReference only
};

template <class Row>
struct FieldDescriptor {
  FieldInfo info;
  FieldValue (*read)(const Row&);
  bool (*tested)(const Row&) = nullptr;  // null: always tested
};

// One grid table: its result identity and its fields in column order.
template <class Row>
struct TableLayout {
  TableNumber number;
  // The location of every result, or for an owned table (IO devices, IO
  // tags) the format that makes it from the owner's name.
  std::u16string_view location;
  std::span<const FieldDescriptor<Row>> fields;
  // False for General, whose label is the field's display name as it
  // stands; true for record tables, whose label format takes the Name.
  bool labelsTakeName = true;
  // Owned tables only: the owning port or device of a record, and how a
  // result names that relation (no grid column: the grid is titled by it).
  int32_t (*ownerId)(const Row&) = nullptr;
  const std::u16string& (*ownerName)(const Row&) = nullptr;
  FieldInfo owner = {-1, u"", u"", TextForm::kReference};
};

namespace field_detail {

template <class Pointer>
struct MemberPointer;
template <class Class_, class Type_>
struct MemberPointer<Type_ Class_::*> {
  using Class = Class_;
  using Type = Type_;
};

inline FieldValue ValueOf(const std::u16string& text) { return {.text = &text}; }
inline FieldValue ValueOf(const ValueSet& set) { return {.numberSet = &set}; }
inline FieldValue ValueOf(const Variant& variant) { return {.variant = &variant}; }
inline FieldValue ValueOf(int32_t number) { return {.number = number}; }
inline FieldValue ValueOf(uint16_t number) { return {.number = number}; }
inline FieldValue ValueOf(double real) { return {.real = real}; }

// A descriptor reading the data member `Member`, whose type must be `Stored`
// (or, with `Stored` void, any integer type).
template <auto Member, class Stored>
constexpr auto MemberField(TextForm form, int32_t column, std::u16string_view title,
                           std::u16string_view labelFormat) {
  using Row = typename MemberPointer<decltype(Member)>::Class;
  using Type = typename MemberPointer<decltype(Member)>::Type;
  static_assert(
      std::is_same_v<Type, Stored> || (std::is_void_v<Stored> && std::is_integral_v<Type>),
      "the member's type does not suit the field's text form");
  return FieldDescriptor<Row>{{column, title, labelFormat, form},
                              [](const Row& row) { return ValueOf(row.*Member); }};
}

}  // namespace field_detail

// Name (column 2) and Description (column 3) of every record table.
template <class Row>
constexpr FieldDescriptor<Row> NameField() {
  return {{2, u"Name", u"%s @ Name", TextForm::kText},
          [](const Row& row) { return field_detail::ValueOf(row.head.name); }};
}
template <class Row>
constexpr FieldDescriptor<Row> DescriptionField() {
  return {{3, u"Description", u"%s @ Description", TextForm::kText},
          [](const Row& row) { return field_detail::ValueOf(row.head.description); }};
}

template <auto Member>
constexpr auto TextField(int32_t column, std::u16string_view title, std::u16string_view label) {
  return field_detail::MemberField<Member, std::u16string>(TextForm::kText, column, title, label);
}
template <auto Member>
constexpr auto NumberField(int32_t column, std::u16string_view title, std::u16string_view label) {
  return field_detail::MemberField<Member, void>(TextForm::kNumber, column, title, label);
}
template <auto Member>
constexpr auto NumberSetField(int32_t column, std::u16string_view title,
                              std::u16string_view label) {
  return field_detail::MemberField<Member, ValueSet>(TextForm::kNumberSet, column, title, label);
}
template <auto Member>
constexpr auto DateField(int32_t column, std::u16string_view title, std::u16string_view label) {
  return field_detail::MemberField<Member, double>(TextForm::kDate, column, title, label);
}
template <auto Member>
constexpr auto RealField(int32_t column, std::u16string_view title, std::u16string_view label) {
  return field_detail::MemberField<Member, double>(TextForm::kReal, column, title, label);
}
template <auto Member>
constexpr auto VariantField(int32_t column, std::u16string_view title, std::u16string_view label) {
  return field_detail::MemberField<Member, Variant>(TextForm::kVariant, column, title, label);
}
template <auto Member>
constexpr auto EnumField(int32_t column, std::u16string_view title, std::u16string_view label,
                         std::span<const EnumName> names) {
  auto field = field_detail::MemberField<Member, void>(TextForm::kEnum, column, title, label);
  field.info.names = names;
  return field;
}
template <auto Member>
constexpr auto ReferenceField(int32_t column, std::u16string_view title, std::u16string_view label,
                              LookupId lookup) {
  auto field = field_detail::MemberField<Member, void>(TextForm::kReference, column, title, label);
  field.info.lookup = lookup;
  return field;
}

// The field, tested only for the records that `tested` accepts.
template <class Row>
constexpr FieldDescriptor<Row> When(bool (*tested)(const Row&), FieldDescriptor<Row> field) {
  field.tested = tested;
  return field;
}

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_FIELD_DESCRIPTORS_H_
