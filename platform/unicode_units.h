// UTF-16 surrogates and UTF-8 sequences, unit by unit, the same on every
// platform. Decoding follows the Unicode rule of the maximal ill-formed
// subsequence: an ill-formed sequence ends at the first byte that could
// not continue it, so that each error swallows as little as possible.
#ifndef QMPECORE_PLATFORM_UNICODE_UNITS_H_
#define QMPECORE_PLATFORM_UNICODE_UNITS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr size_t kMaxUtf8Length = 4;

constexpr bool IsSurrogate(char32_t unit) { return (unit & 0xFFFFF800) == 0xD800; }
constexpr bool IsLeadSurrogate(char32_t unit) { return (unit & 0xFFFFFC00) == 0xD800; }
constexpr bool IsTrailSurrogate(char32_t unit) { return (unit & 0xFFFFFC00) == 0xDC00; }

constexpr char32_t CodePointOfPair(char32_t lead, char32_t trail) {
  return 0x10000 + ((lead - 0xD800) << 10) + (trail - 0xDC00);
}
// The two halves of a supplementary code point (above U+FFFF).
constexpr char16_t LeadSurrogateOf(char32_t c) {
  return static_cast<char16_t>(0xD7C0 + (c >> 10));
}
constexpr char16_t TrailSurrogateOf(char32_t c) {
  return static_cast<char16_t>(0xDC00 | (c & 0x3FF));
}

constexpr bool IsUtf8Trail(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Appends any code point up to U+10FFFF. A surrogate code point is written
// in the three-byte form of its value: strict UTF-8 has no such form, but
// it keeps distinct texts distinct.
inline void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

inline constexpr int32_t kIllFormedUtf8 = -1;

// Decodes the sequence at bytes[*i] (with *i < length) and moves *i past
// it. Gives the code point, or kIllFormedUtf8 with *i past the maximal
// ill-formed subsequence (at least one byte). Surrogate code points and
// overlong forms are ill-formed.
inline int32_t DecodeUtf8(const uint8_t* bytes, size_t* i, size_t length) {
  const uint8_t lead = bytes[(*i)++];
  if (lead < 0x80) return lead;
  int trails;
  int32_t c;
  uint8_t low = 0x80, high = 0xBF;  // the range of the first trail byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    trails = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trails = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trails = 3;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kIllFormedUtf8;
  }
  for (int k = 0; k < trails; ++k) {
    if (*i >= length) return kIllFormedUtf8;
    const uint8_t byte = bytes[*i];
    if (k == 0 ? (byte < low || byte > high) : !IsUtf8Trail(byte)) return kIllFormedUtf8;
    c = (c << 6) | (byte & 0x3F);
    ++*i;
  }
  return c;
}

// Whether `bytes` is well-formed UTF-8 throughout.
inline bool IsWellFormedUtf8(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t i = 0; i < bytes.size();) {
    if (data[i] < 0x80) {
      ++i;
    } else if (DecodeUtf8(data, &i, bytes.size()) == kIllFormedUtf8) {
      return false;
    }
  }
  return true;
}

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_UNICODE_UNITS_H_
