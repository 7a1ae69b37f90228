// The search of the grid tables: every searchable field of every record of
// one table tested against the needle, one result per matching field.
#ifndef QMPECORE_FIND_TABLE_SEARCHERS_H_
#define QMPECORE_FIND_TABLE_SEARCHERS_H_

#include <cstdint>
#include <vector>

#include "find/name_lookups.h"
#include "find/search_needle.h"
#include "qmpecore/config_records.h"
#include "qmpecore/find_result.h"

namespace qm {

// Appends to `results` the hits in the table numbered `table` of `set`, in
// key order of the records and, within a record, in column order. The
// lookups must have been rebuilt from `set` for the references that the
// table shows. `ownerId` limits IO devices (20) to one port and IO tags
// (21) to one device; a negative one, and any value for other tables,
// limits nothing. A table number that names no grid table, a missing or
// empty table, and a null `results` add nothing.
void SearchGridTable(TableNumber table, const ConfigTableSet& set, const NameLookups& lookups,
                     int32_t ownerId, const SearchNeedle& needle, FindResultList* results);

// A whole-table find needs the tag names before the alarms and scripts but
// searches the tags last, and the tags are the largest table by far: one
// walk of it serves both. It rebuilds `lookups->tagNames` as BuildTagNames
// would and notes the tags that hold the needle in some searched field (in
// key order); SearchTags later appends what SearchGridTable(kTableIoTags,
// ..., -1, ...) would have appended, visiting only those. The tables must
// not change in between. The tag search reads only `databaseNames`.
using TagsWithHits = std::vector<const IoTagRecord*>;
TagsWithHits RebuildTagNamesFindingTagsWithHits(const ConfigTableSet& set,
                                                NameLookups* lookups,
                                                const SearchNeedle& needle);
void SearchTags(const TagsWithHits& tags, const NameLookups& lookups, const SearchNeedle& needle,
                FindResultList* results);

}  // namespace qm

#endif  // QMPECORE_FIND_TABLE_SEARCHERS_H_
