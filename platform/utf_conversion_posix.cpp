#include <unicode/ustring.h>

#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"

namespace qm::platform {

// UTF-16 never needs more units than UTF-8 has bytes.
void AppendUtf8AsUtf16(std::string_view bytes, std::u16string* out) {
  const size_t start = out->size();
  out->resize(start + bytes.size());
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out->data() + start, static_cast<int32_t>(bytes.size()), &written,
                       bytes.data(), static_cast<int32_t>(bytes.size()),
                       static_cast<UChar32>(kReplacementCharacter), nullptr, &status);
  out->resize(U_SUCCESS(status) ? start + static_cast<size_t>(written) : start);
}

// UTF-8 never needs more than three bytes per UTF-16 unit.
void AppendUtf16AsUtf8(std::u16string_view text, std::string* out) {
  const size_t start = out->size();
  out->resize(start + text.size() * 3);
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out->data() + start, static_cast<int32_t>(text.size() * 3), &written,
                     text.data(), static_cast<int32_t>(text.size()),
                     static_cast<UChar32>(kReplacementCharacter), nullptr, &status);
  out->resize(U_SUCCESS(status) ? start + static_cast<size_t>(written) : start);
}

}  // namespace qm::platform
