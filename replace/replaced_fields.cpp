#include "replace/replaced_fields.h"

#include <type_traits>

#include "exchange/exchange_fields.h"
#include "find/tables/grid_table_layouts.h"
#include "find/tables/record_tables.h"

namespace qm {
namespace {

using exchange::FieldForm;

std::u16string_view WhyNotFreeText(FieldForm form) {
  switch (form) {
    case FieldForm::kText:
      return {};
    case FieldForm::kReference:
    case FieldForm::kOwner:
      return u"shows another record's Name; replace in that record or rename it";
    case FieldForm::kEnum:
      return u"shows a choice from a list, not free text";
    default:
      return u"shows a value, not free text";
  }
}

template <class Record>
using RecordOf = typename std::remove_pointer_t<Record>::mapped_type;

}  // namespace

HitField FieldOfHit(const FindResult& hit) {
  HitField found;
  found.edit.tableNumber = hit.tableNumber;
  found.skipped = u"is not a stored text";
  if (hit.tableNumber == kTableGeneral) {
    for (const GeneralSearchedKey& key : kGeneralSearchedKeys) {
      if (key.label == hit.label) {
        found.edit.generalKey = key.key;
        found.skipped = {};
      }
    }
    return found;
  }
  found.edit.recordId = hit.recordId;
  WithRecordTable(hit.tableNumber, ConfigTableSet{}, [&](auto* table, const auto&) {
    const auto fields = exchange::FieldsOf<RecordOf<decltype(table)>>();
    for (uint16_t i = 0; i < fields.size(); ++i) {
      if (fields[i].title != hit.columnName) continue;
      found.edit.field = i;
      found.edit.isName = fields[i].title == u"Name";
      found.skipped = WhyNotFreeText(fields[i].form);
      return;
    }
  });
  return found;
}

std::u16string* StoredText(ConfigTableSet& set, const FieldEdit& edit) {
  if (edit.tableNumber == kTableGeneral) {
    if (!set.general) return nullptr;
    const auto found = set.general->find(edit.generalKey);
    return found == set.general->end() ? nullptr : &found->second;
  }
  std::u16string* text = nullptr;
  WithRecordTable(edit.tableNumber, set, [&](auto* table, const auto&) {
    if (table == nullptr) return;
    const auto found = table->find(RecordKey(edit.recordId));
    if (found == table->end()) return;
    const auto fields = exchange::FieldsOf<RecordOf<decltype(table)>>();
    if (edit.field >= fields.size()) return;
    const exchange::FieldRef ref = fields[edit.field].at(found->second);
    if (auto* const* stored = std::get_if<std::u16string*>(&ref)) text = *stored;
  });
  return text;
}

}  // namespace qm
