#include "qmcfg/owner_filter.h"

#include <string>
#include <string_view>

#include "qmcfg/qmcfg.h"

namespace qm::cfg {

int32_t ParseOwnerFilter(const char16_t* filter, const char* ownerColumn,
                         std::optional<int32_t>* owner) {
  owner->reset();
  if (filter == nullptr) return kCfgOk;
  if (ownerColumn == nullptr) return kCfgRefusedFilter;
  std::u16string prefix(ownerColumn, ownerColumn + std::char_traits<char>::length(ownerColumn));
  prefix += u" = ";
  std::u16string_view number(filter);
  if (!number.starts_with(prefix)) return kCfgRefusedFilter;
  number.remove_prefix(prefix.size());
  const bool negative = number.starts_with(u'-');
  if (negative) number.remove_prefix(1);
  if (number.empty() || number.size() > 10) return kCfgRefusedFilter;
  int64_t value = 0;
  for (char16_t unit : number) {
    if (unit < u'0' || unit > u'9') return kCfgRefusedFilter;
    value = value * 10 + (unit - u'0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return kCfgRefusedFilter;
  *owner = static_cast<int32_t>(value);
  return kCfgOk;
}

}  // namespace qm::cfg
