// UTF-8 to UTF-16 for the file search, unit for unit as BytesToTextN
// converts: each maximal ill-formed subsequence (the longest start of a
// well-formed sequence, or one byte that starts none) becomes one U+FFFD,
// as ICU substitutes; a byte-order mark is an ordinary character. The file
// search decodes and counts with these, never with ICU, so that it can
// count UTF-16 units without making them (find/text_stretch.h) and decode
// into its own buffers.
//
// Zero bytes are ordinary characters here; the caller ends the text at the
// first one. No sequence, well-formed or not, takes in a byte outside
// 80..BF after its first, so a text cut just before such a byte (ASCII or
// a lead byte) decodes the same in pieces as whole.
#ifndef QMPECORE_FIND_FILES_UTF8_DECODE_H_
#define QMPECORE_FIND_FILES_UTF8_DECODE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct Utf8Step {
  char32_t codePoint;  // U+FFFD for an ill-formed subsequence
  size_t length;       // bytes consumed, at least 1
};

// Decodes the sequence that starts at `p` (p < end).
inline Utf8Step DecodeUtf8Step(const unsigned char* p, const unsigned char* end) {
  const unsigned lead = p[0];
  if (lead < 0x80) return {lead, 1};
  if (lead < 0xC2 || lead > 0xF4) return {kReplacementCharacter, 1};
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
  return {i == trail + 1 ? value : kReplacementCharacter, i};
}

// Writes the decoded bytes to `out` and returns the number of units. The
// text never has more units than bytes, so `out` needs room for
// bytes.size() units, all of which it may write.
size_t DecodeUtf8(std::string_view bytes, char16_t* out);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_UTF8_DECODE_H_
