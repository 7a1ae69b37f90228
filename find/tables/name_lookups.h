// The four id-to-name lookups through which a searcher shows a referenced
// record by its name. The editor manager owns one set; every find empties
// and refills a lookup from the working tables before a searcher reads it,
// so nothing is carried from one find to the next.
#ifndef QMPECORE_FIND_TABLES_NAME_LOOKUPS_H_
#define QMPECORE_FIND_TABLES_NAME_LOOKUPS_H_

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm {

// Ascending by id, each id at most once. A flat list rather than a map: a
// find refills every lookup, and a list is refilled in place, name by
// name, where a map of a hundred thousand tags is a second chain of nodes
// to walk; a list is also searched without that chase.
using NameLookup = std::vector<std::pair<int32_t, std::u16string>>;

// Entries of a lookup whose names hold a find's needle, ascending by id;
// the names are those of the records the lookup was filled from.
using NameMatches = std::vector<std::pair<int32_t, const std::u16string*>>;

// The entry of `entries` (a NameLookup or NameMatches: ascending by id,
// each id at most once) for `id`, or null.
template <class Entries>
const typename Entries::value_type* EntryWithId(const Entries& entries, int32_t id) {
  const auto found = std::lower_bound(entries.begin(), entries.end(), id,
                                      [](const auto& entry, int32_t key) { return entry.first < key; });
  return found == entries.end() || found->first != id ? nullptr : &*found;
}

struct NameLookups {
  NameLookup timerNames;     // timer id -> timer Name
  NameLookup databaseNames;  // database Group ID -> database Name
  NameLookup outputNames;    // output number -> output Name
  NameLookup tagNames;       // IO tag id -> tag Name
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_NAME_LOOKUPS_H_
