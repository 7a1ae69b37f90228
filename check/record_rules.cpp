#include "check/record_rules.h"

#include "qmpecore/config_records.h"

namespace qm {
namespace {

std::u16string Decimal(int64_t value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

}  // namespace

std::u16string IdFault(std::u16string_view key, int32_t id) {
  if (id < 1) return u"the ID " + Decimal(id) + u" is outside 1 to 2147483647";
  if (!IsRecordKeyOf(key, id)) {
    return u"the record is kept under the key \"" + std::u16string(key) + u"\", not under its ID";
  }
  return {};
}

std::u16string_view NameFault(std::u16string_view name) {
  if (name.empty()) return u"the record has no name";
  if (name.find_first_of(u"\r\n") != std::u16string_view::npos) return u"the name holds a line break";
  return {};
}

}  // namespace qm
