#include "check/table_checks.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "check/record_rules.h"
#include "exchange/exchange_fields.h"
#include "find/tables/record_tables.h"

namespace qm {
namespace {

using exchange::FieldForm;
using exchange::Referred;

std::u16string Decimal(int64_t value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

std::u16string Widened(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

// Records are named by id ("IO device #7"); databases and outputs by the
// number that references carry, which is no id ("database (by Group ID) 7").
std::u16string ReferredText(Referred referred, int32_t number) {
  const bool byId = referred != Referred::kDatabase && referred != Referred::kOutput;
  return Widened(exchange::ReferredName(referred)) + (byId ? u" #" : u" ") + Decimal(number);
}

// A script's triggerer means a timer or a tag by its Trigger By; no other
// record has a reference whose meaning depends on another field.
int32_t TriggerByOf(const ScriptRecord& script) { return script.triggerBy; }
template <class Record>
int32_t TriggerByOf(const Record&) {
  return 0;
}

// An alarm's compare items are tags only while it compares with tags, and
// the second one only for a range condition: otherwise the grid neither
// shows nor resolves them, the usages of a tag do not list them, and what
// they hold is left over from an earlier setting.
bool InUse(const AlarmRecord& alarm, const int32_t* member) {
  if (member == &alarm.compareTag1) return alarm.triggerBy == 1;
  if (member == &alarm.compareTag2) return alarm.triggerBy == 1 && IsRangeCondition(alarm.condition);
  return true;
}
template <class Record>
bool InUse(const Record&, const int32_t*) {
  return true;
}

}  // namespace

TableChecks::TableChecks(const ConfigTableSet& set, FolderFiles* folder, FindingSink* sink)
    : set_(set), folder_(*folder), sink_(*sink), referred_(set) {}

bool TableChecks::Report(CheckFinding finding) {
  if (!stopped_ && !sink_.Take(finding)) stopped_ = true;
  return !stopped_;
}

bool TableChecks::Check(int32_t table) {
  // The exchange fields reach a record's members through a non-const
  // record, which the set's slots give; nothing here writes to one.
  WithRecordTable(table, set_, [&](auto* records, const auto&) {
    if (records != nullptr && !stopped_) CheckRecords(table, *records);
  });
  return !stopped_;
}

template <class Record>
bool TableChecks::CheckRecords(int32_t table, RecordTable<Record>& records) {
  // Name to the first record that has it, in key order.
  std::unordered_map<std::u16string_view, int32_t> firstNamed;
  firstNamed.reserve(records.size());
  // The ids of the records kept under other keys than their own: only
  // such records can share an id, which the store refuses.
  std::unordered_set<int32_t> misplacedIds;
  for (auto& [key, record] : records) {
    const RecordHead& head = record.head;
    if (std::u16string why = IdFault(key, head.id); !why.empty()) {
      if (!Report(RecordFinding(CheckKind::kBadId, table, head, u"ID", std::move(why)))) {
        return false;
      }
      const auto proper = records.find(RecordKey(head.id));
      if (head.id >= 1 && ((proper != records.end() && &proper->second != &record) ||
                           !misplacedIds.insert(head.id).second) &&
          !Report(RecordFinding(CheckKind::kBadId, table, head, u"ID",
                                u"another record of the table has the ID " + Decimal(head.id)))) {
        return false;
      }
    }
    if (const std::u16string_view why = NameFault(head.name);
        !why.empty() &&
        !Report(RecordFinding(CheckKind::kBadName, table, head, u"Name", std::u16string(why)))) {
      return false;
    }
    if (!head.name.empty()) {
      const auto [first, added] = firstNamed.emplace(head.name, head.id);
      if (!added && !Report(RecordFinding(CheckKind::kSharedName, table, head, u"Name",
                                          u"record #" + Decimal(first->second) +
                                              u" of the table has the same name"))) {
        return false;
      }
    }
    if (!CheckReferences(table, record) || !CheckFile(record)) return false;
  }
  return true;
}

template <class Record>
bool TableChecks::CheckReferences(int32_t table, Record& record) {
  for (const auto& field : exchange::FieldsOf<Record>()) {
    if (field.form != FieldForm::kReference && field.form != FieldForm::kOwner) continue;
    const int32_t* member = std::get<int32_t*>(field.at(record));
    const int32_t number = *member;
    // 0 is the grid's "none" for a reference; a device or a tag always
    // belongs to an owner.
    if (field.form == FieldForm::kReference && number == 0) continue;
    Referred referred;
    if (!InUse(record, member) ||
        !exchange::ReferredRecords::Concrete(field.referred, TriggerByOf(record), &referred)) {
      continue;
    }
    if (referred == Referred::kTag) referencedTags_.push_back(number);
    if (referred_.NameOf(referred, number) != nullptr) continue;
    if (!Report(RecordFinding(
            CheckKind::kMissingRecord, table, record.head, field.title,
            u"refers to " + ReferredText(referred, number) + u", which does not exist"))) {
      return false;
    }
  }
  return true;
}

bool TableChecks::CheckFile(const ScriptRecord& script) {
  if (folder_.Holds(script.fileName)) return true;
  CheckFinding finding = RecordFinding(
      CheckKind::kMissingFile, kTableScript, script.head, u"File Name",
      script.fileName.empty()
          ? u"names no file"
          : u"names the file " + script.fileName + u", which the project folder lacks");
  finding.file = script.fileName;
  return Report(std::move(finding));
}

std::vector<int32_t> TableChecks::ReferencedTags() {
  std::sort(referencedTags_.begin(), referencedTags_.end());
  referencedTags_.erase(std::unique(referencedTags_.begin(), referencedTags_.end()),
                        referencedTags_.end());
  return referencedTags_;
}

}  // namespace qm
