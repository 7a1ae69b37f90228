// One record's fields as a file's cells, and cells back into the fields,
// for any record table (the fields of exchange_fields.h).
#ifndef QMPECORE_EXCHANGE_RECORD_CELLS_H_
#define QMPECORE_EXCHANGE_RECORD_CELLS_H_

#include <bit>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "exchange/cell_text.h"
#include "exchange/exchange_fields.h"
#include "exchange/referred_records.h"

namespace qm::exchange {

inline int64_t IntegerAt(const FieldRef& ref) {
  if (const auto* wide = std::get_if<int32_t*>(&ref)) return **wide;
  return *std::get<uint16_t*>(ref);
}

inline void SetInteger(const FieldRef& ref, int64_t value) {
  if (const auto* wide = std::get_if<int32_t*>(&ref)) {
    **wide = static_cast<int32_t>(value);
  } else {
    *std::get<uint16_t*>(ref) = static_cast<uint16_t>(value);
  }
}

// Stored values alike to the bit: a NaN is its own equal, -0 is not 0.
inline bool SameValue(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}
inline bool SameValue(const Variant& a, const Variant& b) {
  return a.type == b.type && a.integer == b.integer && SameValue(a.real, b.real) &&
         a.text == b.text;
}
template <class T>
bool SameValue(const T& a, const T& b) {
  return a == b;
}

// The FNV-1a hash of every stored field of a record (what a file's cells
// hold, without the application's bookkeeping in the head).
template <class Record>
uint64_t RecordFingerprint(const Record& record) {
  uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](const void* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      hash = (hash ^ static_cast<const unsigned char*>(bytes)[i]) * 1099511628211ull;
    }
  };
  const auto mixText = [&](const std::u16string& text) {
    const uint64_t size = text.size();
    mix(&size, sizeof size);
    mix(text.data(), text.size() * sizeof(char16_t));
  };
  for (const ExchangeField<Record>& field : FieldsOf<Record>()) {
    std::visit(
        [&](auto* value) {
          using Type = std::remove_pointer_t<decltype(value)>;
          if constexpr (std::is_same_v<Type, std::u16string>) {
            mixText(*value);
          } else if constexpr (std::is_same_v<Type, ValueSet>) {
            for (uint16_t member : *value) mix(&member, sizeof member);
            mix("|", 1);
          } else if constexpr (std::is_same_v<Type, Variant>) {
            mix(&value->type, sizeof value->type);
            mix(&value->integer, sizeof value->integer);
            mix(&value->real, sizeof value->real);
            mixText(value->text);
          } else {
            mix(value, sizeof *value);
          }
        },
        field.at(const_cast<Record&>(record)));
  }
  return hash;
}

// The cells of one field of a record, as the file holds them: a null
// pointer for a column the file does not have.
struct FieldCells {
  const std::string_view* first = nullptr;
  const std::string_view* second = nullptr;
};

// A cell that could not be taken: its column, and why.
struct CellProblem {
  uint8_t part = 0;
  std::string message;  // empty: none
};

template <class Record>
class RecordCells {
 public:
  explicit RecordCells(ReferredRecords* referred) : referred_(*referred) {}

  void Render(const Record& record, ColumnOfField column, std::string* out) {
    const ExchangeField<Record>& field = FieldsOf<Record>()[column.field];
    const FieldRef ref = field.at(const_cast<Record&>(record));
    switch (field.form) {
      case FieldForm::kId:
      case FieldForm::kNumber:
        AppendInteger(IntegerAt(ref), out);
        return;
      case FieldForm::kText:
        AppendText(*std::get<std::u16string*>(ref), out);
        return;
      case FieldForm::kEnum:
        AppendEnum(field.names, IntegerAt(ref), out);
        return;
      case FieldForm::kReal:
        AppendReal(*std::get<double*>(ref), out);
        return;
      case FieldForm::kDate:
        AppendDate(*std::get<double*>(ref), out);
        return;
      case FieldForm::kNumberSet:
        AppendNumberSet(*std::get<ValueSet*>(ref), out);
        return;
      case FieldForm::kVariant: {
        const Variant& value = *std::get<Variant*>(ref);
        if (column.part == 0) {
          AppendVariantValue(value, out);
        } else {
          AppendVariantType(value.type, out);
        }
        return;
      }
      case FieldForm::kReference:
      case FieldForm::kOwner: {
        const int64_t number = IntegerAt(ref);
        if (column.part == 1) {
          AppendInteger(number, out);
        } else if (Referred target; Concrete(record, field, &target)) {
          const std::u16string* name = referred_.NameOf(target, static_cast<int32_t>(number));
          if (name != nullptr) AppendText(*name, out);
        }
        return;
      }
    }
  }

  // Calls differ(column, before, after) with the UTF-8 texts of each
  // column in which `after` reads otherwise than `before`, in column order.
  template <class Differ>
  void ForEachDifference(const Record& before, const Record& after, Differ&& differ) {
    std::string a, b;
    ForEachColumn<Record>([&](ColumnOfField column) {
      if (SameField(before, after, column.field)) return;
      a.clear();
      b.clear();
      Render(before, column, &a);
      Render(after, column, &b);
      if (a != b) differ(column, a, b);
    });
  }

  // True when field `index` shows alike in both records without drawing
  // its cells: equal stored values (a triggerer's Name also follows the
  // Trigger By, so it is never taken as alike).
  static bool SameField(const Record& a, const Record& b, uint16_t index) {
    const ExchangeField<Record>& field = FieldsOf<Record>()[index];
    if (field.referred == Referred::kTriggerer) return false;
    const FieldRef x = field.at(const_cast<Record&>(a));
    const FieldRef y = field.at(const_cast<Record&>(b));
    return std::visit(
        [&](auto* value) { return SameValue(*value, *std::get<decltype(value)>(y)); }, x);
  }

  // Sets field `index` of `record` from `cells`; a cell that is not there
  // leaves its part as the record has it.
  CellProblem Parse(Record* record, uint16_t index, FieldCells cells) {
    const ExchangeField<Record>& field = FieldsOf<Record>()[index];
    const FieldRef ref = field.at(*record);
    if (field.form == FieldForm::kVariant) return ParseVariant(*std::get<Variant*>(ref), cells);
    if (field.form == FieldForm::kReference || field.form == FieldForm::kOwner) {
      return ParseReference(record, field, ref, cells);
    }
    if (cells.first == nullptr) return {};
    const std::string_view cell = *cells.first;
    std::string message;
    int64_t integer = 0;
    switch (field.form) {
      case FieldForm::kId:
      case FieldForm::kNumber:
        message = ParseInteger(cell, field.minimum, field.maximum, &integer);
        if (message.empty()) SetInteger(ref, integer);
        break;
      case FieldForm::kEnum:
        message = ParseEnum(cell, field.names, field.minimum, field.maximum, &integer);
        if (message.empty()) SetInteger(ref, integer);
        break;
      case FieldForm::kText:
        message = ParseText(cell, std::get<std::u16string*>(ref));
        break;
      case FieldForm::kReal:
        message = ParseReal(cell, std::get<double*>(ref));
        break;
      case FieldForm::kDate:
        message = ParseDate(cell, std::get<double*>(ref));
        break;
      case FieldForm::kNumberSet:
        message = ParseNumberSet(cell, std::get<ValueSet*>(ref));
        break;
      default:
        break;
    }
    return {0, std::move(message)};
  }

 private:
  static bool Concrete(const Record& record, const ExchangeField<Record>& field, Referred* out) {
    int32_t triggerBy = 0;
    if constexpr (std::is_same_v<Record, ScriptRecord>) triggerBy = record.triggerBy;
    return ReferredRecords::Concrete(field.referred, triggerBy, out);
  }

  // A type without a value keeps the value's text under the new type.
  static CellProblem ParseVariant(Variant& value, FieldCells cells) {
    uint16_t type = value.type;
    if (cells.second != nullptr) {
      std::string message = ParseVariantType(*cells.second, &type);
      if (!message.empty()) return {1, std::move(message)};
    }
    std::string kept;
    if (cells.first == nullptr) AppendVariantValue(value, &kept);
    return {0, ParseVariantValue(cells.first ? *cells.first : kept, type, &value)};
  }

  CellProblem ParseReference(Record* record, const ExchangeField<Record>& field,
                             const FieldRef& ref, FieldCells cells) {
    std::u16string name;
    const bool named = cells.first != nullptr && !cells.first->empty();
    if (named) {
      if (std::string message = ParseText(*cells.first, &name); !message.empty()) {
        return {0, std::move(message)};
      }
    }
    Referred target = field.referred;
    const bool concrete = Concrete(*record, field, &target);
    int64_t number = 0;
    const bool numbered = cells.second != nullptr && !cells.second->empty();
    if (numbered) {
      std::string message = ParseInteger(*cells.second, INT32_MIN, INT32_MAX, &number);
      if (!message.empty()) return {1, std::move(message)};
    }
    if (!concrete) {
      if (named) return {0, "names a record, but this Trigger By refers to none"};
      SetInteger(ref, number);
      return {};
    }
    if (numbered) {
      const std::u16string* found = referred_.NameOf(target, static_cast<int32_t>(number));
      if (found == nullptr && number != 0) {
        return {1, "no " + std::string(ReferredName(target)) + " has the number " +
                       std::to_string(number)};
      }
      if (named && (found == nullptr || *found != name)) {
        std::string message = "does not name " + std::string(ReferredName(target)) + " " +
                              std::to_string(number);
        if (found != nullptr) {
          message += " (that is ";
          AppendText(*found, &message);
          message += "); give the Name or the number, or both alike";
        }
        return {0, std::move(message)};
      }
    } else if (named) {
      int32_t found = 0;
      switch (referred_.NumberNamed(target, name, &found)) {
        case NameLookup::kFound:
          number = found;
          break;
        case NameLookup::kNone:
          return {0, "no " + std::string(ReferredName(target)) + " is named " +
                         std::string(*cells.first)};
        case NameLookup::kSeveral:
          return {0, "several records of " + std::string(ReferredName(target)) + " are named " +
                         std::string(*cells.first) + "; give the number in " +
                         TitleText(field.secondTitle)};
      }
    } else if (cells.first == nullptr && cells.second == nullptr) {
      return {};
    }
    SetInteger(ref, number);
    if (field.ownerName != nullptr) {
      const std::u16string* ownerName = referred_.NameOf(target, static_cast<int32_t>(number));
      *field.ownerName(*record) = ownerName != nullptr ? *ownerName : std::u16string();
    }
    return {};
  }

  ReferredRecords& referred_;
};

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_RECORD_CELLS_H_
