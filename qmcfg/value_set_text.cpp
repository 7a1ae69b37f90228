#include "qmcfg/value_set_text.h"

#include <cstdint>

namespace qm::cfg {

void FormatValueSet(const ValueSet& values, std::u16string* out) {
  out->clear();
  for (uint16_t value : values) {
    if (!out->empty()) out->push_back(u',');
    char16_t digits[5];
    int count = 0;
    do {
      digits[count++] = static_cast<char16_t>(u'0' + value % 10);
      value = static_cast<uint16_t>(value / 10);
    } while (value != 0);
    while (count > 0) out->push_back(digits[--count]);
  }
}

void ParseValueSet(std::u16string_view text, ValueSet* out) {
  out->clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u',', start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view part = text.substr(start, end - start);
    uint32_t value = 0;
    bool valid = !part.empty() && part.size() <= 5;
    for (char16_t unit : part) {
      valid = valid && unit >= u'0' && unit <= u'9';
      value = value * 10 + static_cast<uint32_t>(unit - u'0');
    }
    if (valid && value <= UINT16_MAX) out->insert(out->end(), static_cast<uint16_t>(value));
    start = end + 1;
  }
}

}  // namespace qm::cfg
