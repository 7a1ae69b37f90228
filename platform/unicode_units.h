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

struct Utf8Step {
  char32_t codePoint;  // U+FFFD for an ill-formed subsequence
  size_t length;       // bytes consumed, at least 1
  bool wellFormed;
};

// Decodes the sequence that starts at `p` (p < end). No sequence, well-formed
// or not, takes in a byte outside 80..BF after its first, so a text cut
// just before such a byte (ASCII or a lead byte) decodes the same in pieces
// as whole.
inline Utf8Step DecodeUtf8Step(const unsigned char* p, const unsigned char* end) {
  const unsigned lead = p[0];
  if (lead < 0x80) return {lead, 1, true};
  if (lead < 0xC2 || lead > 0xF4) return {kReplacementCharacter, 1, false};
  // The well-formed sequences: the second byte's range depends on the lead
  // (excluding overlong forms, surrogates and values above U+10FFFF), every
  // later byte is 80..BF.
  size_t trail;
  char32_t value;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead < 0xE0) {
    trail = 1;
    value = lead & 0x1F;
  } else if (lead < 0xF0) {
    trail = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else {
    trail = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  size_t i = 1;
  for (; i <= trail && p + i < end; ++i) {
    const unsigned byte = p[i];
    if (byte < low || byte > high) break;
    value = (value << 6) | (byte & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  const bool wellFormed = i == trail + 1;
  return {wellFormed ? value : kReplacementCharacter, i, wellFormed};
}

// Whether `bytes` is well-formed UTF-8 throughout.
inline bool IsWellFormedUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    if (*p < 0x80) {
      ++p;
      continue;
    }
    const Utf8Step step = DecodeUtf8Step(p, end);
    if (!step.wellFormed) return false;
    p += step.length;
  }
  return true;
}

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_UNICODE_UNITS_H_
