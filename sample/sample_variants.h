// Values for the variant fields of the sample (tag start-up and fallback
// values, alarm compare values), of every type the project file knows.
#ifndef QMPECORE_SAMPLE_SAMPLE_VARIANTS_H_
#define QMPECORE_SAMPLE_SAMPLE_VARIANTS_H_

#include <cstdint>
#include <span>

#include "sample/sample_random.h"
#include "qmpecore/config_records.h"

namespace qm::sample {

// Every VARTYPE code of the project file layout, ascending.
std::span<const uint16_t> SampleVariantTypes();

// A value of `type`: mostly ordinary values, now and then the type's
// limits, and for dates also days outside the calendar's years 100 to 9999.
// A VT_R4 value is a float widened to double. A code outside the layout
// gives a variant of that type with no value.
Variant SampleVariant(uint16_t type, SampleRandom& rng);

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_VARIANTS_H_
