// The UTF-8 loops behind file_names.h, shared by both backends. Well-formed
// UTF-8 and UTF-16 convert the same way on every platform; the backends
// differ only in what stands for what plain UTF-8 cannot carry (bytes of an
// ill-formed sequence, lone surrogates), and pass that in.
#ifndef QMPECORE_PLATFORM_FILE_NAME_UTF8_H_
#define QMPECORE_PLATFORM_FILE_NAME_UTF8_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/unicode_units.h"

namespace qm::platform {

// Decodes `native` as UTF-8. At each ill-formed sequence it calls
// onIllFormed(native, start, end, &text): native[start, end) is the maximal
// ill-formed subsequence, the handler appends what stands for it (it may
// read past `end`) and returns where decoding goes on, `end` or later.
template <typename OnIllFormed>
std::u16string DecodeUtf8Name(std::string_view native, OnIllFormed onIllFormed) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(native.data());
  const size_t length = native.size();
  std::u16string text;
  text.reserve(length);
  size_t i = 0;
  while (i < length) {
    const size_t start = i;
    const Utf8Step step = DecodeUtf8Step(bytes + i, bytes + length);
    i += step.length;
    const char32_t c = step.codePoint;
    if (!step.wellFormed) {
      i = onIllFormed(native, start, i, &text);
    } else if (c <= 0xFFFF) {
      text.push_back(static_cast<char16_t>(c));
    } else {
      text.push_back(LeadSurrogateOf(c));
      text.push_back(TrailSurrogateOf(c));
    }
  }
  return text;
}

// Encodes `text` as UTF-8, a surrogate pair as its code point. At each lone
// surrogate it calls onLoneSurrogate(unit, &native), which appends what
// stands for it.
template <typename OnLoneSurrogate>
std::string EncodeUtf8Name(std::u16string_view text, OnLoneSurrogate onLoneSurrogate) {
  std::string native;
  native.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsLeadSurrogate(unit) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) {
      AppendUtf8(CodePointOfPair(unit, text[i + 1]), &native);
      ++i;
    } else if (IsSurrogate(unit)) {
      onLoneSurrogate(unit, &native);
    } else {
      AppendUtf8(unit, &native);
    }
  }
  return native;
}

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_NAME_UTF8_H_
