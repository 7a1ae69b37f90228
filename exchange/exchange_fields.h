// Every stored field of every record table, as a tag list file holds it:
// the column titles (the grid's where the grid shows the field), how the
// field becomes a cell and back, and the table it refers to. One exporter
// and one importer walk these descriptions for every table.
#ifndef QMPECORE_EXCHANGE_EXCHANGE_FIELDS_H_
#define QMPECORE_EXCHANGE_EXCHANGE_FIELDS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "qmpecore/config_records.h"

namespace qm::exchange {

// How a field is written as a cell.
enum class FieldForm : uint8_t {
  kId,         // the record's id
  kText,       // the text as it stands
  kNumber,     // a decimal integer
  kEnum,       // the grid's text; a number the list lacks as that number
  kReal,       // the shortest decimal that reads back to the same double
  kDate,       // "YYYY-MM-DD HH:MM:SS", or the number when that loses anything
  kNumberSet,  // as the grid shows it: "0,12"
  kVariant,    // two cells: the value, and its type in a column of its own
  kReference,  // two cells: the referred record's Name, and its number
  kOwner,      // a reference to the owning record, which also names the record's owner
};

// The records a reference refers to, and by which of their numbers.
enum class Referred : uint8_t {
  kTimer,      // timer id
  kDatabase,   // database Group ID
  kOutput,     // output number
  kTag,        // IO tag id
  kPort,       // IO port id
  kDevice,     // IO device id
  kTriggerer,  // a timer or a tag id, by the script's Trigger By; none for Auto
};

// The member a field reads and writes in a record.
using FieldRef = std::variant<int32_t*, uint16_t*, double*, std::u16string*, ValueSet*, Variant*>;

template <class Record>
struct ExchangeField {
  std::u16string_view title;
  FieldForm form;
  FieldRef (*at)(Record&);
  // kVariant: the type's column; kReference and kOwner: the number's column.
  std::u16string_view secondTitle = {};
  std::span<const EnumName> names = {};  // kEnum
  Referred referred = Referred::kTimer;  // kReference, kOwner
  // kOwner: the owner's Name that the record carries beside the number.
  std::u16string* (*ownerName)(Record&) = nullptr;
  int64_t minimum = INT32_MIN;  // kNumber, kEnum
  int64_t maximum = INT32_MAX;
};

// The fields of the record table in slot `Record`'s table, in the order
// of a file's columns.
template <class Record>
std::span<const ExchangeField<Record>> FieldsOf();

// A column of a file: field `field` of the table, its first or second cell.
struct ColumnOfField {
  uint16_t field;
  uint8_t part;  // 0: the field's cell; 1: its second cell
};

// The titles of a table's columns, in order, and which field each holds.
template <class Record>
size_t ColumnCount() {
  size_t count = 0;
  for (const auto& field : FieldsOf<Record>()) count += field.secondTitle.empty() ? 1 : 2;
  return count;
}

template <class Record>
std::u16string_view ColumnTitle(ColumnOfField column) {
  const auto& field = FieldsOf<Record>()[column.field];
  return column.part == 0 ? field.title : field.secondTitle;
}

// Calls visit(ColumnOfField) for each column, in order.
template <class Record, class Visit>
void ForEachColumn(Visit&& visit) {
  const auto fields = FieldsOf<Record>();
  for (uint16_t i = 0; i < fields.size(); ++i) {
    visit(ColumnOfField{i, 0});
    if (!fields[i].secondTitle.empty()) visit(ColumnOfField{i, 1});
  }
}

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_EXCHANGE_FIELDS_H_
