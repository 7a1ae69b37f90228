#include "cli/table_names.h"

#include <algorithm>
#include <cctype>

#include "cli/cli_support.h"
#include "cli/open_project.h"

namespace qm::cli {
namespace {

// By slot, the table number of each record table; General has none.
constexpr std::array<int32_t, kSlotCount> kSlotTableNumbers = {
    -1, kTableTimer, kTableDatabase, kTableUser, kTableTrend, kTableIo,
    kTableIoDevices, kTableIoTags, kTableOutput, kTableAlarm, kTableScript};

std::string Simplified(std::string name) {
  for (char& c : name) {
    c = c == ' ' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

}  // namespace

int32_t RecordTableNumber(const std::string& name) {
  std::string known;
  for (size_t slot = 0; slot < kSlotCount; ++slot) {
    if (kSlotTableNumbers[slot] < 0) continue;
    const std::string slotName = Simplified(kSlotNames[slot]);
    if (slotName == Simplified(name)) return kSlotTableNumbers[slot];
    known += (known.empty() ? "" : ", ") + slotName;
  }
  throw CommandError("no record table is named " + name + "; the tables: " + known);
}

std::string RecordTableName(int32_t tableNumber) {
  const auto* found = std::find(kSlotTableNumbers.begin(), kSlotTableNumbers.end(), tableNumber);
  if (found == kSlotTableNumbers.end()) return std::to_string(tableNumber);
  return Simplified(kSlotNames[static_cast<size_t>(found - kSlotTableNumbers.begin())]);
}

}  // namespace qm::cli
