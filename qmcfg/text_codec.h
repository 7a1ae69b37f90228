// UTF-8 <-> UTF-16 for the text columns of the project file. An unpaired
// surrogate, which UTF-8 cannot hold, is written in the three-byte form
// UTF-8 would give it were it a character (ED A0 80 to ED BF BF) and read
// back as itself, so every in-memory text survives a save unchanged. Other
// ill-formed stored bytes (only other tools write them) are handed to
// qmshared's conversions, so their substitution is the same as everywhere
// else in the system.
#ifndef QMPECORE_QMCFG_TEXT_CODEC_H_
#define QMPECORE_QMCFG_TEXT_CODEC_H_

#include <string>
#include <string_view>

namespace qm::cfg {

// Makes `out` `units` code units long, to be overwritten. When that takes
// an allocation it is of exactly `units`: growing an empty text by resize
// or reserve doubles the small-string capacity first, which gives every
// text of 8 to 13 units a heap block of 14 (a larger size class of malloc),
// and a project holds millions of such texts.
void SizeText(std::u16string* out, size_t units);

// Replaces `out` with the UTF-16 form of `bytes` (zero bytes included).
// A three-byte surrogate form becomes that surrogate; when anything else is
// ill-formed, each maximal invalid subsequence becomes one U+FFFD. The
// result is false when TextToUtf8 of `out` would not give `bytes` back:
// after a U+FFFD, or where two three-byte halves make a pair.
bool Utf8ToText(std::string_view bytes, std::u16string* out);

// Replaces `out` with the UTF-8 form of `text`, an unpaired surrogate in
// its three-byte form.
void TextToUtf8(std::u16string_view text, std::string* out);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TEXT_CODEC_H_
