#include "cli/table_names.h"

#include <algorithm>
#include <cctype>
#include <optional>

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

// The table number of any table by its name, General included.
std::optional<int32_t> TableNumberNamed(const std::string& name) {
  for (size_t slot = 0; slot < kSlotCount; ++slot) {
    if (Simplified(kSlotNames[slot]) == Simplified(name)) {
      return slot == kSlotGeneral ? kTableGeneral : kSlotTableNumbers[slot];
    }
  }
  return std::nullopt;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ScopeWithTableItems(const std::string& scope) {
  std::string result;
  size_t at = 0;
  while (true) {
    const size_t comma = scope.find(',', at);
    const std::string item = scope.substr(at, comma == std::string::npos ? comma : comma - at);
    std::string given = item;
    if (const std::optional<int32_t> table = TableNumberNamed(Trimmed(item))) {
      if (*table == kTableTrend) throw CommandError("no find searches the trends");
      // The devices of every port and the tags of every device.
      given = std::to_string(*table) +
              (*table == kTableIoDevices || *table == kTableIoTags ? "|-1" : "|");
    }
    result += (at == 0 ? "" : ",") + given;
    if (comma == std::string::npos) return result;
    at = comma + 1;
  }
}

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
