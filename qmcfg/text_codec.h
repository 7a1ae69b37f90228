// UTF-8 <-> UTF-16 for the text columns of the project file. Well-formed
// input (nearly all of it) takes a fast path here; anything else is handed
// to qmshared's conversions, so substitution of invalid input is the same
// as everywhere else in the system.
#ifndef QMPECORE_QMCFG_TEXT_CODEC_H_
#define QMPECORE_QMCFG_TEXT_CODEC_H_

#include <string>
#include <string_view>

namespace qm::cfg {

// Replaces `out` with the UTF-16 form of `bytes` (zero bytes included).
// Each maximal invalid subsequence becomes one U+FFFD.
void Utf8ToText(std::string_view bytes, std::u16string* out);

// Replaces `out` with the UTF-8 form of `text`; an unpaired surrogate
// becomes U+FFFD.
void TextToUtf8(std::u16string_view text, std::string* out);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TEXT_CODEC_H_
