#include "find/tables/name_lookup_builders.h"

namespace qm {
namespace {

// The four builders differ only in table and key field.
template <class Record, class KeyOf>
void Rebuild(const RecordTable<Record>* table, NameLookup* lookup, KeyOf keyOf) {
  if (lookup == nullptr) return;
  NameLookupRefresh refresh(lookup);
  if (table != nullptr) {
    for (const auto& [unused, record] : *table) refresh.Add(keyOf(record), record.head.name);
  }
  refresh.Finish();
}

}  // namespace

void NameLookupRefresh::Add(int32_t key, const std::u16string& name) {
  if (merging_ && !first_ && key <= last_) {
    lookup_->erase(next_, lookup_->end());
    merging_ = false;
    ascended_ = false;
  }
  first_ = false;
  last_ = key;
  if (!merging_) {
    (*lookup_)[key] = name;
    return;
  }
  while (next_ != lookup_->end() && next_->first < key) next_ = lookup_->erase(next_);
  if (next_ != lookup_->end() && next_->first == key) {
    next_->second = name;
    ++next_;
  } else {
    lookup_->emplace_hint(next_, key, name);
  }
}

void NameLookupRefresh::Finish() {
  if (merging_) lookup_->erase(next_, lookup_->end());
  merging_ = false;
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
  auto found = lookup.find(id);
  if (found == lookup.end()) return {};
  return found->second;
}

}  // namespace qm
