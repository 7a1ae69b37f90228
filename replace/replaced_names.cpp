#include "replace/replaced_names.h"

#include <map>
#include <unordered_map>

#include "find/tables/record_tables.h"

namespace qm {
namespace {

std::u16string Number(int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string RecordText(const FieldEdit& edit) {
  return u"record #" + Number(edit.recordId) + u" of table " + Number(edit.tableNumber);
}

}  // namespace

std::u16string NameRefusal(const ConfigTableSet& set, const std::vector<FieldEdit>& edits) {
  // By table: the new Name of each renamed record.
  std::map<int32_t, std::unordered_map<int32_t, const std::u16string*>> renamed;
  for (const FieldEdit& edit : edits) {
    if (!edit.isName) continue;
    if (edit.after.empty()) return u"the replacement leaves the Name of " + RecordText(edit) + u" empty";
    if (edit.after.find_first_of(u"\r\n") != std::u16string::npos) {
      return u"the replacement puts a line break in the Name of " + RecordText(edit);
    }
    renamed[edit.tableNumber][edit.recordId] = &edit.after;
  }
  for (const auto& renamedInTable : renamed) {
    // Named copies: clang 14 cannot capture structured bindings in the lambda below.
    const int32_t tableNumber = renamedInTable.first;
    const auto& newNames = renamedInTable.second;
    std::unordered_map<std::u16string_view, int32_t> holders;  // a new Name: its record
    for (const auto& [id, name] : newNames) holders.emplace(*name, id);
    std::u16string refusal;
    WithRecordTable(tableNumber, set, [&](auto* table, const auto&) {
      if (table == nullptr) return;
      for (const auto& [key, record] : *table) {
        const auto own = newNames.find(record.head.id);
        const std::u16string& name = own != newNames.end() ? *own->second : record.head.name;
        const auto holder = holders.find(name);
        if (holder == holders.end() || holder->second == record.head.id) continue;
        refusal = u"the replacement gives records #" + Number(holder->second) + u" and #" +
                  Number(record.head.id) + u" of table " + Number(tableNumber) +
                  u" the same Name " + name;
        return;
      }
    });
    if (!refusal.empty()) return refusal;
  }
  return {};
}

}  // namespace qm
