// The stored texts that a replace may change: which field a find's hit in
// a table stands for, whether that field is free text, and where its text
// is kept in a table set.
#ifndef QMPECORE_REPLACE_REPLACED_FIELDS_H_
#define QMPECORE_REPLACE_REPLACED_FIELDS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "qmpecore/config_records.h"
#include "qmpecore/find_result.h"

namespace qm {

// A stored text of one record (or of General) that a replace changes.
struct FieldEdit {
  int32_t tableNumber = 0;
  int32_t recordId = 0;       // 0 for General
  uint16_t field = 0;         // the record's field (exchange/exchange_fields.h)
  std::u16string generalKey;  // General only
  bool isName = false;        // the record's Name
  std::u16string before;
  std::u16string after;
};

// What a hit comes to: `edit` names the field (tableNumber, recordId,
// field, generalKey), or `skipped` says why its text is not replaced.
struct HitField {
  FieldEdit edit;
  std::u16string_view skipped;  // empty for free text
};

// A field shown through a lookup, an enumeration or as a value of a type
// is not free text: replacing its shown text would make another record,
// choice or value of it, which is the user's to choose.
HitField FieldOfHit(const FindResult& hit);

// The text of the edit's field in `set`; null when the table, the record
// or the General key is gone.
std::u16string* StoredText(ConfigTableSet& set, const FieldEdit& edit);

}  // namespace qm

#endif  // QMPECORE_REPLACE_REPLACED_FIELDS_H_
