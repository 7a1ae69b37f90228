#include "find/usages/record_lookup.h"

#include <type_traits>

#include "find/tables/record_tables.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

template <class Record>
ReferenceTarget TargetOfRecord(const Record& record) {
  ReferenceTarget target;
  target.id = record.head.id;
  if constexpr (std::is_same_v<Record, TimerRecord>) {
    target.lookup = LookupId::kTimerNames;
    target.key = record.head.id;
  } else if constexpr (std::is_same_v<Record, DatabaseRecord>) {
    target.lookup = LookupId::kDatabaseNames;
    target.key = record.groupId;
  } else if constexpr (std::is_same_v<Record, OutputRecord>) {
    target.lookup = LookupId::kOutputNames;
    target.key = record.outputNo;
  } else if constexpr (std::is_same_v<Record, IoTagRecord>) {
    target.lookup = LookupId::kTagNames;
    target.key = record.head.id;
  } else if constexpr (std::is_same_v<Record, IoPortRecord>) {
    target.ownedTable = kTableIoDevices;
  } else if constexpr (std::is_same_v<Record, IoDeviceRecord>) {
    target.ownedTable = kTableIoTags;
  }
  return target;
}

// Ids are at least 1, so no key of a record is made for a smaller one.
template <class Record>
Record* FindRecord(RecordTable<Record>* table, int32_t id) {
  if (table == nullptr || id < 1) return nullptr;
  auto found = table->find(RecordKey(id));
  return found == table->end() ? nullptr : &found->second;
}

}  // namespace

bool IsRecordTable(int32_t table) {
  return WithRecordTable(table, ConfigTableSet(), [](const auto*, const auto&) {});
}

RecordHead* FindRecordHead(const ConfigTableSet& set, int32_t table, int32_t id) {
  RecordHead* head = nullptr;
  WithRecordTable(table, set, [&](auto* records, const auto&) {
    if (auto* record = FindRecord(records, id)) head = &record->head;
  });
  return head;
}

std::u16string RecordLocation(const ConfigTableSet& set, int32_t table, int32_t id) {
  std::u16string location;
  WithRecordTable(table, set, [&](auto* records, const auto& layout) {
    const auto* record = FindRecord(records, id);
    if (record == nullptr) return;
    if (layout.ownerId == nullptr) {
      location = layout.location;
    } else {
      FormatText(&location, layout.location, layout.ownerName(*record));
    }
  });
  return location;
}

std::vector<int32_t> RecordIdsNamed(const ConfigTableSet& set, int32_t table,
                                    std::u16string_view name) {
  std::vector<int32_t> ids;
  WithRecordTable(table, set, [&](const auto* records, const auto&) {
    if (records == nullptr) return;
    for (const auto& [key, record] : *records) {
      if (record.head.name == name) ids.push_back(record.head.id);
    }
  });
  return ids;
}

std::optional<ReferenceTarget> ReferenceTargetOf(const ConfigTableSet& set, int32_t table,
                                                 int32_t id) {
  std::optional<ReferenceTarget> target;
  WithRecordTable(table, set, [&](auto* records, const auto&) {
    if (const auto* record = FindRecord(records, id)) target = TargetOfRecord(*record);
  });
  return target;
}

}  // namespace qm
