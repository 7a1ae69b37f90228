// The one filter the readers accept: "<owner column> = N" (exactly so:
// single spaces, N a decimal 32-bit integer with an optional minus sign),
// as the configuration manager formats it from "port_id = %ld" and
// "device_id = %ld". The owner id is bound as a parameter; filter text
// never reaches SQL.
#ifndef QMPECORE_QMCFG_OWNER_FILTER_H_
#define QMPECORE_QMCFG_OWNER_FILTER_H_

#include <cstdint>
#include <optional>

namespace qm::cfg {

// Sets `owner` from `filter` for a table whose owner column is
// `ownerColumn` (null for a table without owner). A null filter gives no
// owner; any other text than the form above gives kCfgRefusedFilter.
int32_t ParseOwnerFilter(const char16_t* filter, const char* ownerColumn,
                         std::optional<int32_t>* owner);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_OWNER_FILTER_H_
