#include "find/tables/trend_layout.h"

namespace qm {
namespace {

constexpr FieldDescriptor<TrendRecord> kTrendFields[] = {
    ReferenceField<&TrendRecord::tagId>(-1, u"Tag", u"%s @ Tag", LookupId::kTagNames),
};

}  // namespace

const TableLayout<TrendRecord> kTrendLayout = {kTableTrend, u"Trends", kTrendFields};

}  // namespace qm
