// UTF-8 <-> UTF-16 by the platform's converter (platform/utf_conversion.h),
// in pieces that it can count.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

using platform::kMaxUtfPiece;

// A piece may end at `end` only where the conversion of the whole would not
// read across: never inside a well-formed sequence or a maximal ill-formed
// one. A UTF-8 trail byte at `end` is such a place only when it lies
// farther than three bytes from any lead byte before it.
size_t PieceEnd(std::string_view bytes, size_t end) {
  for (size_t back = 0; back < platform::kMaxUtf8Length && end - back > 0; ++back) {
    if (!platform::IsUtf8Trail(bytes[end - back])) return end - back;
  }
  return end;
}

// Never between the two halves of a surrogate pair.
size_t PieceEnd(std::u16string_view text, size_t end) {
  return platform::IsTrailSurrogate(text[end]) && platform::IsLeadSurrogate(text[end - 1]) ? end - 1 : end;
}

// Calls convert(piece, out) on consecutive pieces of `source` that are
// each at most kMaxUtfPiece long and cut where PieceEnd allows.
template <class Source, class Out, class Convert>
void ConvertInPieces(Source source, Out* out, Convert convert) {
  while (source.size() > kMaxUtfPiece) {
    const size_t end = PieceEnd(source, kMaxUtfPiece);
    convert(source.substr(0, end), out);
    source.remove_prefix(end);
  }
  convert(source, out);
}

}  // namespace

void QM_CALL BytesToTextN(std::u16string* out, std::string_view bytes) {
  if (out == nullptr) return;
  out->clear();
  ConvertInPieces(bytes, out, platform::AppendUtf8AsUtf16);
}

void QM_CALL BytesToText(std::u16string* out, const char* bytes, uint32_t codePage, int32_t) {
  if (out == nullptr) return;
  if (bytes == nullptr || codePage != kCodePageUtf8) {
    out->clear();
    return;
  }
  BytesToTextN(out, std::string_view(bytes, std::strlen(bytes)));
}

void QM_CALL TextToBytes(std::string* out, std::u16string_view text, uint32_t codePage,
                         int32_t) {
  if (out == nullptr) return;
  out->clear();
  if (codePage != kCodePageUtf8) return;
  ConvertInPieces(text, out, platform::AppendUtf16AsUtf8);
}

}  // namespace qm
