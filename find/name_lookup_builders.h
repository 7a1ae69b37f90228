// Filling the four name lookups from the working tables, and reading them.
#ifndef QMPECORE_FIND_NAME_LOOKUP_BUILDERS_H_
#define QMPECORE_FIND_NAME_LOOKUP_BUILDERS_H_

#include <cstdint>
#include <string_view>

#include "find/name_lookups.h"
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

}  // namespace qm

#endif  // QMPECORE_FIND_NAME_LOOKUP_BUILDERS_H_
