// The search of the grid tables: every searchable field of every record of
// one table tested against the needle, one result per matching field.
#ifndef QMPECORE_FIND_TABLES_TABLE_SEARCHERS_H_
#define QMPECORE_FIND_TABLES_TABLE_SEARCHERS_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "find/tables/name_lookups.h"
#include "find/search_needle.h"
#include "qmpecore/config_records.h"
#include "find/result_sink.h"

namespace qm {

// Hands to `sink` the hits in the table numbered `table` of `set`, in
// key order of the records and, within a record, in column order. The
// lookups must have been rebuilt from `set` for the references that the
// table shows. `ownerId` limits IO devices (20) to one port and IO tags
// (21) to one device; a negative one, and any value for other tables,
// limits nothing. A table number that names no grid table and a missing or
// empty table give nothing. `matchingTagNames`, when
// given, are the entries of `lookups.tagNames` that hold the needle.
void SearchGridTable(TableNumber table, const ConfigTableSet& set, const NameLookups& lookups,
                     int32_t ownerId, const SearchNeedle& needle, ResultSink& sink,
                     const NameMatches* matchingTagNames = nullptr);

// What one walk of the tags finds for a whole-table find.
struct TagWalk {
  // The tags that hold the needle in some searched field, in key order.
  std::vector<const IoTagRecord*> withHits;
  // The entries of the rebuilt tag-name lookup whose name holds the needle,
  // when the walk can tell: when the tag ids ascend in key order, so that
  // each entry holds the name of one tag.
  std::optional<NameMatches> matchingNames;
};

// A whole-table find needs the tag names before the alarms and scripts but
// searches the tags last, and the tags are the largest table by far: one
// walk of it serves all three. It rebuilds `lookups->tagNames` as
// BuildTagNames would and gathers a TagWalk: the alarms' and scripts'
// references to tags are then settled without walking the tag names again,
// and SearchTags gives what SearchGridTable(kTableIoTags, ..., -1, ...)
// would have given, visiting only the tags with hits. The tables must
// not change in between. The tag search reads only `databaseNames`.
TagWalk WalkTags(const ConfigTableSet& set, NameLookups* lookups, const SearchNeedle& needle);
void SearchTags(const TagWalk& walk, const NameLookups& lookups, const SearchNeedle& needle,
                ResultSink& sink);

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_TABLE_SEARCHERS_H_
