// A ValueSet column: the values in decimal, ascending, joined by ","
// ("0,12"; the empty text for the empty set).
#ifndef QMPECORE_QMCFG_VALUE_SET_TEXT_H_
#define QMPECORE_QMCFG_VALUE_SET_TEXT_H_

#include <string>
#include <string_view>

#include "qmpecore/config_records.h"

namespace qm::cfg {

void FormatValueSet(const ValueSet& values, std::u16string* out);

// Replaces `out` with the values of `text`. Parts that are not a decimal
// number from 0 to 65535 (empty parts included) are skipped, so a set
// written by another tool still reads.
void ParseValueSet(std::u16string_view text, ValueSet* out);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_VALUE_SET_TEXT_H_
