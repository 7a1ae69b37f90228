// The find's rule for a table scan: a field is a hit when its text, as the
// grid shows it, holds the needle.
#ifndef QMPECORE_FIND_TABLES_NEEDLE_RULE_H_
#define QMPECORE_FIND_TABLES_NEEDLE_RULE_H_

#include <span>
#include <string_view>
#include <vector>

#include "find/search_needle.h"
#include "find/tables/field_descriptors.h"
#include "find/tables/field_text.h"
#include "find/tables/name_lookups.h"

namespace qm {

template <class Row>
class NeedleRule {
 public:
  // `rows` is about how many rows will be visited. `matchingTagNames`, when
  // given, are the entries of `lookups.tagNames` that hold the needle.
  NeedleRule(const TableLayout<Row>& layout, size_t rows, const SearchNeedle& needle,
             const NameLookups& lookups, const NameMatches* matchingTagNames)
      : needle_(needle), texts_(needle, lookups) {
    if (matchingTagNames != nullptr) texts_.KnowMatches(LookupId::kTagNames, *matchingTagNames);
    enumMatches_.reserve(layout.fields.size());
    for (const FieldDescriptor<Row>& field : layout.fields) {
      enumMatches_.emplace_back(field.info.names, needle);
      if (field.info.form == TextForm::kReference) texts_.ExpectReferences(field.info.lookup, rows);
    }
    for (size_t i = 0; i < layout.fields.size(); ++i) {
      if (texts_.MayMatch(layout.fields[i].info, enumMatches_[i])) live_.push_back(i);
    }
  }
  NeedleRule(const NeedleRule&) = delete;
  NeedleRule& operator=(const NeedleRule&) = delete;

  std::span<const size_t> live() const { return live_; }
  bool MayHitOwner() const { return false; }
  bool OwnerHit(const Row&, std::u16string_view*) const { return false; }

  bool Hit(size_t i, const FieldDescriptor<Row>& field, const Row& row, std::u16string_view* text) {
    if (!texts_.TextOf(field.info, field.read(row), enumMatches_[i], text)) return false;
    // An empty cell is no hit, not even for a pattern that matches nothing:
    // a field with no text (an empty set, a reference to no record) shows
    // the same empty cell.
    return !text->empty() && MatchField(*text, needle_);
  }

 private:
  const SearchNeedle& needle_;
  FieldTexts texts_;
  std::vector<EnumMatches> enumMatches_;  // one per field, by index
  // The fields that the needle can match at all, in column order: most
  // number, date and enumeration fields drop out for a word, most text
  // fields for a number.
  std::vector<size_t> live_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_NEEDLE_RULE_H_
