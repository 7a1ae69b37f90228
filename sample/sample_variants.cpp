#include "sample/sample_variants.h"

#include <cstdint>
#include <limits>
#include <string_view>

#include "sample/sample_text.h"

namespace qm::sample {
namespace {

constexpr uint16_t kVariantTypes[] = {kVtEmpty, kVtNull, kVtI2,   kVtI4,   kVtR4,
                                      kVtR8,    kVtDate, kVtBstr, kVtBool, kVtI1,
                                      kVtUi1,   kVtUi2,  kVtUi4,  kVtI8,   kVtUi8};

constexpr std::string_view kTexts[] = {
    "OPEN",   "Zu",      "Recipe A-17", "Ελληνικά",      "",
    "冷却水", "🙂 ok", "%s",          "Kelvin \u212A", "value",
};

constexpr int64_t kBooleans[] = {0, -1, 1};

constexpr double kOddDates[] = {-657435.0, 2958466.0, 1e7, -1e6, -0.5, 0.0};

// An integer in [low, high], the limits themselves one time in eight.
int64_t Integer(SampleRandom& rng, int64_t low, int64_t high) {
  switch (rng.Below(16)) {
    case 0:
      return low;
    case 1:
      return high;
    default: {
      // Unsigned arithmetic: the span of the 64-bit types does not fit int64.
      const uint64_t span = static_cast<uint64_t>(high) - static_cast<uint64_t>(low);
      const uint64_t offset = span == UINT64_MAX ? rng.Next() : rng.Next() % (span + 1);
      return static_cast<int64_t>(static_cast<uint64_t>(low) + offset);
    }
  }
}

double Real64(SampleRandom& rng) {
  constexpr double kOdd[] = {-273.15, 1.0 / 3.0, 1e300, -0.0, 5e-324, 0.1};
  if (rng.OneIn(10)) return rng.Pick(kOdd);
  return static_cast<double>(rng.Between(-100000, 1000000)) / 100.0;
}

float Real32(SampleRandom& rng) {
  constexpr float kOdd[] = {-273.15f, 1.0f / 3.0f, 3.4e38f, -0.0f, 1e-45f, 0.1f};
  if (rng.OneIn(10)) return rng.Pick(kOdd);
  return static_cast<float>(rng.Between(-100000, 1000000)) / 100.0f;
}

double Date(SampleRandom& rng) {
  if (rng.OneIn(8)) return rng.Pick(kOddDates);
  return 43831.0 + rng.Unit() * 5000.0;  // 2020 to 2033
}

}  // namespace

std::span<const uint16_t> SampleVariantTypes() { return kVariantTypes; }

Variant SampleVariant(uint16_t type, SampleRandom& rng) {
  Variant v;
  v.type = type;
  switch (type) {
    case kVtI1:
      v.integer = Integer(rng, INT8_MIN, INT8_MAX);
      break;
    case kVtUi1:
      v.integer = Integer(rng, 0, UINT8_MAX);
      break;
    case kVtI2:
      v.integer = Integer(rng, INT16_MIN, INT16_MAX);
      break;
    case kVtUi2:
      v.integer = Integer(rng, 0, UINT16_MAX);
      break;
    case kVtI4:
      v.integer = Integer(rng, INT32_MIN, INT32_MAX);
      break;
    case kVtUi4:
      v.integer = Integer(rng, 0, UINT32_MAX);
      break;
    case kVtI8:
      v.integer = Integer(rng, INT64_MIN, INT64_MAX);
      break;
    // The 64 bits of an unsigned value, kept unchanged in the signed field.
    case kVtUi8:
      v.integer = static_cast<int64_t>(rng.OneIn(8) ? UINT64_MAX : rng.Next());
      break;
    case kVtBool:
      v.integer = rng.Pick(kBooleans);
      break;
    case kVtR4:
      v.real = Real32(rng);
      break;
    case kVtR8:
      v.real = Real64(rng);
      break;
    case kVtDate:
      v.real = Date(rng);
      break;
    case kVtBstr:
      v.text = SampleText(rng.Pick(kTexts));
      break;
    default:
      break;  // empty, null and codes outside the layout hold nothing
  }
  return v;
}

}  // namespace qm::sample
