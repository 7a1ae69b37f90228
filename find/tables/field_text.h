// Turning the stored value of a field into the text that the find tests,
// with as little work as the needle allows.
#ifndef QMPECORE_FIND_TABLES_FIELD_TEXT_H_
#define QMPECORE_FIND_TABLES_FIELD_TEXT_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "find/tables/decimal_text.h"
#include "find/tables/field_descriptors.h"
#include "find/tables/name_lookups.h"
#include "find/search_needle.h"

namespace qm {

// Which display texts of one enumeration hold the needle, worked out once
// per search so that a record's enumeration field costs one bit test.
// Every listed value lies in 0 to 31 (checked where the lists are known).
class EnumMatches {
 public:
  EnumMatches() = default;
  EnumMatches(std::span<const EnumName> names, const SearchNeedle& needle);

  bool TextMatches(int64_t value) const {
    return value >= 0 && value < 32 && ((matching_ >> value) & 1) != 0;
  }
  bool AnyMatches() const { return matching_ != 0; }

 private:
  uint32_t matching_ = 0;
};

// Makes field texts for the search of one table. A text it returns views
// the record, a lookup, a name list or its own scratch space, and stays
// valid until the next call. Nothing is allocated per field once the
// scratch string has grown to the longest text made.
class FieldTexts {
 public:
  FieldTexts(const SearchNeedle& needle, const NameLookups& lookups);
  FieldTexts(const FieldTexts&) = delete;
  FieldTexts& operator=(const FieldTexts&) = delete;

  // Announces, before the first TextOf, that the table will make about
  // `count` references through `lookup`; see ResolveReference.
  void ExpectReferences(LookupId lookup, size_t count) {
    references_[Index(lookup)].expected += count;
  }

  // Gives the names of `lookup` that hold the needle, found by a caller
  // that walked them anyway; references through `lookup` are then settled
  // by searching `matches`, which must outlive this object.
  void KnowMatches(LookupId lookup, const NameMatches& matches);

  // Sets `text` to the text of `value` shown as `info` says and returns
  // true, or returns false when that text cannot hold the needle (an
  // enumeration or referenced name known not to match, a number when the
  // needle is no number text, an absent or empty value); then no text is
  // made. A stored text, the most common case by far, takes no call.
  bool TextOf(const FieldInfo& info, const FieldValue& value, const EnumMatches& enumMatches,
              std::u16string_view* text) {
    if (info.form != TextForm::kText) return MadeTextOf(info, value, enumMatches, text);
    if (value.text == nullptr) return false;
    *text = *value.text;
    return true;
  }

  // False when TextOf returns false for every value of the field, as far
  // as the needle and the lookups tell; a table search then skips the
  // field in every record. Call it after the last ExpectReferences.
  bool MayMatch(const FieldInfo& info, const EnumMatches& enumMatches);

 private:
  // How the references through one lookup are resolved: when `filtered`,
  // `matching` holds the names that hold the needle (`found`, or a list
  // that KnowMatches gave).
  struct References {
    size_t expected = 0;
    bool planned = false;
    bool filtered = false;
    NameMatches found;
    const NameMatches* matching = &found;
  };

  static size_t Index(LookupId lookup) { return static_cast<size_t>(lookup); }
  bool MadeTextOf(const FieldInfo& info, const FieldValue& value, const EnumMatches& enumMatches,
                  std::u16string_view* text);
  bool ResolveReference(LookupId lookup, int32_t id, std::u16string_view* text);
  void PlanReferences(LookupId lookup, References* references);
  bool VariantText(const Variant& variant, std::u16string_view* text);
  std::u16string_view RealText(double real);

  const SearchNeedle& needle_;
  const NameLookups& lookups_;
  const bool numbersMayMatch_;
  const bool datesMayMatch_;
  const bool dateTimesMayMatch_;
  const bool realsMayMatch_;
  std::array<References, kLookupCount> references_;
  std::u16string scratch_;
  char16_t digits_[kDecimalTextUnits];
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_FIELD_TEXT_H_
