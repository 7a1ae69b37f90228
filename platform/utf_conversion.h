// UTF-8 <-> UTF-16 conversion of one piece of text, by the platform's
// converter: ICU on POSIX, MultiByteToWideChar and WideCharToMultiByte on
// Windows. Both take ill-formed input without failing: each maximal
// ill-formed subsequence of UTF-8, and each unpaired surrogate of UTF-16,
// becomes U+FFFD. A byte-order mark is an ordinary character (U+FEFF).
//
// Both platforms count in 32-bit signed integers, so a piece holds at most
// kMaxUtfPiece units; longer texts go through in pieces (qmshared cuts
// them where no sequence is split).
#ifndef QMPECORE_PLATFORM_UTF_CONVERSION_H_
#define QMPECORE_PLATFORM_UTF_CONVERSION_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::platform {

inline constexpr size_t kMaxUtfPiece = INT32_MAX / 4;

// Whether the converter replaces ill-formed UTF-8 exactly as the Unicode
// rule of the maximal ill-formed subsequence says (one U+FFFD for each), as
// DecodeUtf8 in unicode_units.h does. ICU does; the Windows converter has a
// rule of its own, which is not documented, so code that decodes UTF-8
// itself hands ill-formed text to the converter there.
#ifdef _WIN32
inline constexpr bool kConverterReplacesMaximalSubparts = false;
#else
inline constexpr bool kConverterReplacesMaximalSubparts = true;
#endif

// Append the converted piece to `out`; on a failure of the converter
// (only exhausted memory) nothing is appended.
void AppendUtf8AsUtf16(std::string_view bytes, std::u16string* out);
void AppendUtf16AsUtf8(std::u16string_view text, std::string* out);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_UTF_CONVERSION_H_
