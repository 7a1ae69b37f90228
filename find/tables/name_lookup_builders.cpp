#include "find/tables/name_lookup_builders.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "find/tables/record_walk.h"

namespace qm {
namespace {

// The four builders differ only in table and key field.
template <class Record, class KeyOf>
void Rebuild(const RecordTable<Record>* table, NameLookup* lookup, KeyOf keyOf) {
  if (lookup == nullptr) return;
  NameLookupRefresh refresh(lookup);
  if (table != nullptr) {
    ForEachRecordReadingAhead(*table, [&](const Record& record) {
      refresh.Add(keyOf(record), record.head.name);
    });
  }
  refresh.Finish();
}

}  // namespace

void NameLookupRefresh::Add(int32_t key, const std::u16string& name) {
  NameLookup& lookup = *lookup_;
  if (filled_ > 0 && key <= lookup[filled_ - 1].first) ascended_ = false;
  if (filled_ < lookup.size()) {
    lookup[filled_].first = key;
    lookup[filled_].second = name;
  } else {
    lookup.emplace_back(key, name);
  }
  ++filled_;
}

void NameLookupRefresh::Finish() {
  NameLookup& lookup = *lookup_;
  lookup.erase(lookup.begin() + static_cast<ptrdiff_t>(filled_), lookup.end());
  if (ascended_) return;
  std::stable_sort(lookup.begin(), lookup.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // Of a run of equal keys the last, which came last, stays.
  size_t kept = 0;
  for (size_t i = 0; i < lookup.size(); ++i) {
    if (i + 1 < lookup.size() && lookup[i + 1].first == lookup[i].first) continue;
    if (kept != i) lookup[kept] = std::move(lookup[i]);
    ++kept;
  }
  lookup.erase(lookup.begin() + static_cast<ptrdiff_t>(kept), lookup.end());
}

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
  const auto* entry = EntryWithId(lookup, id);
  return entry != nullptr ? std::u16string_view(entry->second) : std::u16string_view();
}

}  // namespace qm
