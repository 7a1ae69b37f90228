#include "qmcfg/text_codec.h"

#include <cstdint>

#include "qmshared/qmshared.h"

namespace qm::cfg {
namespace {

inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

void SizeText(std::u16string* out, size_t units) {
  if (units > out->capacity()) {
    *out = std::u16string(units, u'\0');
  } else {
    out->resize(units);
  }
}

// One pass, writing straight into the result: a UTF-16 text never has more
// code units than its UTF-8 form has bytes, so sizing `out` to the byte
// count first makes every write in bounds. The first ill-formed sequence
// sends the whole text to the shared (ICU) conversion instead. A pair
// stored as two three-byte halves reads as the pair, but is not exact:
// TextToUtf8 writes a pair in four bytes.
bool Utf8ToText(std::string_view bytes, std::u16string* out) {
  SizeText(out, bytes.size());
  char16_t* dest = out->data();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = s + bytes.size();
  bool exact = true;
  bool leadHalfLast = false;  // the last unit is a lead surrogate of three bytes
  while (s < end) {
    const unsigned lead = *s;
    const bool leadHalfBefore = leadHalfLast;
    leadHalfLast = false;
    if (lead < 0x80) {
      *dest++ = static_cast<char16_t>(lead);
      ++s;
      continue;
    }
    const ptrdiff_t left = end - s;
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && IsContinuation(s[1])) {
      *dest++ = static_cast<char16_t>(((lead & 0x1F) << 6) | (s[1] & 0x3F));
      s += 2;
      continue;
    }
    if (lead >= 0xE0 && lead <= 0xEF && left >= 3 && IsContinuation(s[1]) &&
        IsContinuation(s[2])) {
      const unsigned cp = ((lead & 0x0F) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
      if (cp >= 0x800) {  // a surrogate too: TextToUtf8 writes an unpaired one so
        if (cp >= 0xDC00 && cp <= 0xDFFF && leadHalfBefore) exact = false;
        leadHalfLast = cp >= 0xD800 && cp <= 0xDBFF;
        *dest++ = static_cast<char16_t>(cp);
        s += 3;
        continue;
      }
    }
    if (lead >= 0xF0 && lead <= 0xF4 && left >= 4 && IsContinuation(s[1]) &&
        IsContinuation(s[2]) && IsContinuation(s[3])) {
      const unsigned cp = ((lead & 0x07) << 18) | ((s[1] & 0x3Fu) << 12) |
                          ((s[2] & 0x3Fu) << 6) | (s[3] & 0x3Fu);
      if (cp >= 0x10000 && cp <= 0x10FFFF) {
        *dest++ = static_cast<char16_t>(0xD7C0 + (cp >> 10));
        *dest++ = static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        s += 4;
        continue;
      }
    }
    BytesToTextN(out, bytes);
    return false;
  }
  out->resize(static_cast<size_t>(dest - out->data()));
  return exact;
}

// The same shape the other way: at most three bytes per UTF-16 unit (a
// surrogate pair, two units, becomes four bytes).
void TextToUtf8(std::u16string_view text, std::string* out) {
  out->resize(text.size() * 3);
  char* dest = out->data();
  const char16_t* s = text.data();
  const char16_t* end = s + text.size();
  while (s < end) {
    const unsigned unit = *s++;
    if (unit < 0x80) {
      *dest++ = static_cast<char>(unit);
    } else if (unit < 0x800) {
      *dest++ = static_cast<char>(0xC0 | (unit >> 6));
      *dest++ = static_cast<char>(0x80 | (unit & 0x3F));
    } else if (unit >= 0xD800 && unit <= 0xDBFF && s < end && *s >= 0xDC00 && *s <= 0xDFFF) {
      const unsigned cp = 0x10000 + ((unit - 0xD800) << 10) + (*s++ - 0xDC00u);
      *dest++ = static_cast<char>(0xF0 | (cp >> 18));
      *dest++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *dest++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *dest++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      // Any other unit, an unpaired surrogate included, in three bytes.
      *dest++ = static_cast<char>(0xE0 | (unit >> 12));
      *dest++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      *dest++ = static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  out->resize(static_cast<size_t>(dest - out->data()));
}

}  // namespace qm::cfg
