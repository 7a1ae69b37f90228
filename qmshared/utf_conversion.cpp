// UTF-8 <-> UTF-16 through ICU. ICU replaces each maximal ill-formed
// subsequence of UTF-8 (and each unpaired surrogate of UTF-16) with one
// U+FFFD. A leading byte-order mark is an ordinary character here and
// converts to U+FEFF.
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "shared_lib/qmshared.h"

namespace qm {
namespace {

constexpr UChar32 kReplacement = 0xFFFD;
// ICU counts in int32_t; longer inputs go through in pieces of this size.
constexpr size_t kMaxPiece = INT32_MAX / 4;

// A piece may end at `end` only where the conversion of the whole would not
// read across: never inside a well-formed sequence or a maximal ill-formed
// one. A UTF-8 trail byte at `end` is such a place only when it lies
// farther than three bytes from any lead byte before it.
size_t PieceEnd(std::string_view bytes, size_t end) {
  for (size_t back = 0; back < U8_MAX_LENGTH && end - back > 0; ++back) {
    if (!U8_IS_TRAIL(bytes[end - back])) return end - back;
  }
  return end;
}

// Never between the two halves of a surrogate pair.
size_t PieceEnd(std::u16string_view text, size_t end) {
  return U16_IS_TRAIL(text[end]) && U16_IS_LEAD(text[end - 1]) ? end - 1 : end;
}

// Calls convert(piece, out) on consecutive pieces of `source` that are
// each at most kMaxPiece long and cut where PieceEnd allows.
template <class Source, class Out, class Convert>
void ConvertInPieces(Source source, Out* out, Convert convert) {
  while (source.size() > kMaxPiece) {
    const size_t end = PieceEnd(source, kMaxPiece);
    convert(source.substr(0, end), out);
    source.remove_prefix(end);
  }
  convert(source, out);
}

// UTF-16 never needs more units than UTF-8 has bytes.
void AppendUtf8Piece(std::string_view bytes, std::u16string* out) {
  const size_t start = out->size();
  out->resize(start + bytes.size());
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out->data() + start, static_cast<int32_t>(bytes.size()), &written,
                       bytes.data(), static_cast<int32_t>(bytes.size()), kReplacement,
                       nullptr, &status);
  out->resize(U_SUCCESS(status) ? start + static_cast<size_t>(written) : start);
}

// UTF-8 never needs more than three bytes per UTF-16 unit.
void AppendUtf16Piece(std::u16string_view text, std::string* out) {
  const size_t start = out->size();
  out->resize(start + text.size() * 3);
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out->data() + start, static_cast<int32_t>(text.size() * 3), &written,
                     text.data(), static_cast<int32_t>(text.size()), kReplacement, nullptr,
                     &status);
  out->resize(U_SUCCESS(status) ? start + static_cast<size_t>(written) : start);
}

}  // namespace

void QM_CALL BytesToTextN(std::u16string* out, std::string_view bytes) {
  if (out == nullptr) return;
  out->clear();
  ConvertInPieces(bytes, out, AppendUtf8Piece);
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
  ConvertInPieces(text, out, AppendUtf16Piece);
}

}  // namespace qm
