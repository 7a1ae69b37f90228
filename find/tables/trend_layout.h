// Trends have no grid and the find never searches them, but a trend refers
// to a tag, so the usages of a tag report it: under table number 22
// (kTableTrend), at location "Trends", in the Tag field (no grid column).
#ifndef QMPECORE_FIND_TABLES_TREND_LAYOUT_H_
#define QMPECORE_FIND_TABLES_TREND_LAYOUT_H_

#include "find/tables/field_descriptors.h"
#include "qmpecore/config_records.h"

namespace qm {

extern const TableLayout<TrendRecord> kTrendLayout;

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_TREND_LAYOUT_H_
