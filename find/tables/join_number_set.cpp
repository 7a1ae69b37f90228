#include "find/tables/join_number_set.h"

#include "find/tables/decimal_text.h"

namespace qm {

std::u16string JoinNumberSet(const ValueSet* set) {
  std::u16string text;
  if (set != nullptr) AppendNumberSet(*set, &text);
  return text;
}

void AppendNumberSet(const ValueSet& set, std::u16string* out) {
  bool first = true;
  for (uint16_t value : set) {
    if (!first) out->push_back(u',');
    AppendDecimal(value, out);
    first = false;
  }
}

}  // namespace qm
