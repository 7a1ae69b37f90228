#include "find/name_lookup_builders.h"

namespace qm {
namespace {

// The four builders differ only in table and key field.
//
// A find rebuilds every lookup, and a lookup of a hundred thousand tags
// made afresh would cost two allocations and two frees per name. So the
// lookup is refreshed in place instead, with the same result: while the
// keys arrive ascending (tables walk in id order, so lookups keyed by id
// always do), the table and the lookup are merged in one pass, entries
// without a record erased, names overwritten where they stand (a string
// assignment that reuses its storage) and new ids inserted where they
// belong. At the first key out of that order (Group IDs, output numbers,
// repeated ids) the entries not yet confirmed are dropped and the rest is
// filled the ordinary way, where a later record replaces the name of an
// earlier one.
template <class Record, class KeyOf>
void Rebuild(const RecordTable<Record>* table, NameLookup* lookup, KeyOf keyOf) {
  if (lookup == nullptr) return;
  if (table == nullptr) {
    lookup->clear();
    return;
  }
  auto next = lookup->begin();  // the first entry that no record has confirmed yet
  bool merging = true;
  bool first = true;
  int32_t last = 0;
  for (const auto& [unused, record] : *table) {
    const int32_t key = keyOf(record);
    if (merging && !first && key <= last) {
      lookup->erase(next, lookup->end());
      merging = false;
    }
    first = false;
    last = key;
    if (!merging) {
      (*lookup)[key] = record.head.name;
      continue;
    }
    while (next != lookup->end() && next->first < key) next = lookup->erase(next);
    if (next != lookup->end() && next->first == key) {
      next->second = record.head.name;
      ++next;
    } else {
      lookup->emplace_hint(next, key, record.head.name);
    }
  }
  if (merging) lookup->erase(next, lookup->end());
}

}  // namespace

void BuildTimerNames(const ConfigTableSet& set, NameLookup* lookup) {
  Rebuild(set.timers.get(), lookup, [](const TimerRecord& r) { return r.head.id; });
}

void BuildDatabaseNames(const ConfigTableSet& set, NameLookup* lookup) {
  Rebuild(set.databases.get(), lookup, [](const DatabaseRecord& r) { return r.groupId; });
}

void BuildOutputNames(const ConfigTableSet& set, NameLookup* lookup) {
  Rebuild(set.outputs.get(), lookup, [](const OutputRecord& r) { return r.outputNo; });
}

void BuildTagNames(const ConfigTableSet& set, NameLookup* lookup) {
  Rebuild(set.ioTags.get(), lookup, [](const IoTagRecord& r) { return r.head.id; });
}

std::u16string_view LookupName(const NameLookup& lookup, int32_t id) {
  auto found = lookup.find(id);
  if (found == lookup.end()) return {};
  return found->second;
}

}  // namespace qm
