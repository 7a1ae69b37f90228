#include "exchange/referred_records.h"

namespace qm::exchange {
namespace {

template <class Record, class NumberOf, class Index>
void Fill(const RecordTable<Record>* table, NumberOf numberOf, Index* index, int64_t several) {
  if (table == nullptr) return;
  index->names.reserve(table->size());
  index->numbers.reserve(table->size());
  for (const auto& [key, record] : *table) {
    const int32_t number = numberOf(record);
    index->names[number] = &record.head.name;
    auto [at, added] = index->numbers.emplace(record.head.name, number);
    if (!added && at->second != number) at->second = several;
  }
}

}  // namespace

std::string_view ReferredName(Referred referred) {
  switch (referred) {
    case Referred::kTimer:
      return "timer";
    case Referred::kDatabase:
      return "database (by Group ID)";
    case Referred::kOutput:
      return "output (by Output No)";
    case Referred::kTag:
      return "IO tag";
    case Referred::kPort:
      return "IO port";
    case Referred::kDevice:
      return "IO device";
    case Referred::kTriggerer:
      break;
  }
  return "timer or IO tag";
}

ReferredRecords::Index& ReferredRecords::IndexOf(Referred referred) {
  Index& index = indexes_[static_cast<size_t>(referred)];
  if (index.made) return index;
  index.made = true;
  const auto id = [](const auto& record) { return record.head.id; };
  switch (referred) {
    case Referred::kTimer:
      Fill(set_.timers.get(), id, &index, kSeveralNumbers);
      break;
    case Referred::kDatabase:
      Fill(set_.databases.get(), [](const DatabaseRecord& r) { return r.groupId; }, &index,
           kSeveralNumbers);
      break;
    case Referred::kOutput:
      Fill(set_.outputs.get(), [](const OutputRecord& r) { return r.outputNo; }, &index,
           kSeveralNumbers);
      break;
    case Referred::kTag:
      Fill(set_.ioTags.get(), id, &index, kSeveralNumbers);
      break;
    case Referred::kPort:
      Fill(set_.ioPorts.get(), id, &index, kSeveralNumbers);
      break;
    case Referred::kDevice:
      Fill(set_.ioDevices.get(), id, &index, kSeveralNumbers);
      break;
    case Referred::kTriggerer:  // resolved by Concrete first
      break;
  }
  return index;
}

const std::u16string* ReferredRecords::NameOf(Referred referred, int32_t number) {
  const Index& index = IndexOf(referred);
  const auto found = index.names.find(number);
  return found == index.names.end() ? nullptr : found->second;
}

NameLookup ReferredRecords::NumberNamed(Referred referred, std::u16string_view name,
                                        int32_t* number) {
  const Index& index = IndexOf(referred);
  const auto found = index.numbers.find(name);
  if (found == index.numbers.end()) return NameLookup::kNone;
  if (found->second == kSeveralNumbers) return NameLookup::kSeveral;
  *number = static_cast<int32_t>(found->second);
  return NameLookup::kFound;
}

bool ReferredRecords::Concrete(Referred referred, int32_t triggerBy, Referred* out) {
  if (referred != Referred::kTriggerer) {
    *out = referred;
    return true;
  }
  if (triggerBy == 1) *out = Referred::kTimer;
  if (triggerBy == 2) *out = Referred::kTag;
  return triggerBy == 1 || triggerBy == 2;
}

}  // namespace qm::exchange
