// The usages' rule for a table scan: a field is a hit when it refers to one
// given record, and its text is the referenced name as the grid shows it.
#ifndef QMPECORE_FIND_TABLES_REFERENCE_RULE_H_
#define QMPECORE_FIND_TABLES_REFERENCE_RULE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "find/tables/field_descriptors.h"
#include "find/tables/name_lookup_builders.h"
#include "find/tables/name_lookups.h"

namespace qm {

// How other records refer to one record: through a name lookup by a key
// (a timer or tag id, a database Group ID, an output number), and as the
// owner of the records of one owned table (a port of its devices, a device
// of its tags).
struct ReferenceTarget {
  std::optional<LookupId> lookup;
  int32_t key = 0;
  int32_t ownedTable = -1;  // the table whose records it owns, or -1
  int32_t id = 0;           // the record's id, which owned records hold
};

template <class Row>
class ReferenceRule {
 public:
  // `lookups` must hold the target's lookup rebuilt from the tables.
  ReferenceRule(const TableLayout<Row>& layout, const ReferenceTarget& target,
                const NameLookups& lookups)
      : layout_(layout), target_(target) {
    if (target.lookup) {
      shownName_ = LookupName(LookupOf(lookups, *target.lookup), target.key);
      for (size_t i = 0; i < layout.fields.size(); ++i) {
        const FieldInfo& info = layout.fields[i].info;
        if (info.form == TextForm::kReference && info.lookup == *target.lookup) live_.push_back(i);
      }
    }
  }

  std::span<const size_t> live() const { return live_; }
  bool MayHitOwner() const {
    return layout_.ownerId != nullptr && layout_.number == target_.ownedTable;
  }
  bool OwnerHit(const Row& row, std::u16string_view* text) const {
    if (!MayHitOwner() || layout_.ownerId(row) != target_.id) return false;
    *text = layout_.ownerName(row);
    return true;
  }

  bool Hit(size_t, const FieldDescriptor<Row>& field, const Row& row,
           std::u16string_view* text) const {
    if (field.read(row).number != target_.key) return false;
    *text = shownName_;
    return true;
  }

 private:
  const TableLayout<Row>& layout_;
  const ReferenceTarget target_;
  std::u16string_view shownName_;
  std::vector<size_t> live_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_REFERENCE_RULE_H_
