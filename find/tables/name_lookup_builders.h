// Filling the four name lookups from the working tables, and reading them.
#ifndef QMPECORE_FIND_TABLES_NAME_LOOKUP_BUILDERS_H_
#define QMPECORE_FIND_TABLES_NAME_LOOKUP_BUILDERS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "find/tables/name_lookups.h"
#include "qmpecore/config_records.h"

namespace qm {

// Each empties `lookup` and fills it from one table of `set`, walking the
// table in key order, so that of two records with the same key number the
// later one gives the name. A missing table leaves the lookup empty; a
// null lookup is left alone.
void BuildTimerNames(const ConfigTableSet& set, NameLookup* lookup);     // timer id
void BuildDatabaseNames(const ConfigTableSet& set, NameLookup* lookup);  // Group ID
void BuildOutputNames(const ConfigTableSet& set, NameLookup* lookup);    // output number
void BuildTagNames(const ConfigTableSet& set, NameLookup* lookup);       // IO tag id

// The name stored for `id`, or the empty text. The view lives as long as
// the lookup's entry.
std::u16string_view LookupName(const NameLookup& lookup, int32_t id);

// Rebuilds a lookup from (key, name) pairs given in table order, for a
// caller that walks the table anyway; the builders above are made of it.
// After Finish the lookup holds what emptying it and assigning each pair
// in turn would leave. Until then its content is unspecified.
//
// A find rebuilds every lookup, and a lookup of a hundred thousand tags
// made afresh would cost an allocation and a free per name. So the pairs
// overwrite the lookup's entries in turn (a string assignment reuses its
// storage) and only the entries past the last pair are dropped. Keys out
// of order (Group IDs, output numbers, repeated ids) are put in order at
// Finish, where of equal keys the later pair stays.
class NameLookupRefresh {
 public:
  explicit NameLookupRefresh(NameLookup* lookup) : lookup_(lookup) {}
  NameLookupRefresh(const NameLookupRefresh&) = delete;
  NameLookupRefresh& operator=(const NameLookupRefresh&) = delete;

  void Add(int32_t key, const std::u16string& name);
  void Finish();
  // Whether every key came after the one before: then each key came once
  // and the lookup holds exactly the pairs given, in their order.
  bool KeysAscended() const { return ascended_; }

 private:
  NameLookup* lookup_;
  size_t filled_ = 0;  // entries that pairs have overwritten, from the front
  bool ascended_ = true;
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_NAME_LOOKUP_BUILDERS_H_
