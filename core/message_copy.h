// Handing a message to the application in its own buffer.
#ifndef QMPECORE_CORE_MESSAGE_COPY_H_
#define QMPECORE_CORE_MESSAGE_COPY_H_

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace qm {

// Copies `text`, cut to `capacity` units with its terminating zero, to
// `out`; nothing when `capacity` is 0 or less.
inline void CopyMessage(std::u16string_view text, char16_t* out, int32_t capacity) {
  if (out == nullptr || capacity <= 0) return;
  const size_t kept = std::min(text.size(), static_cast<size_t>(capacity) - 1);
  text.copy(out, kept);
  out[kept] = u'\0';
}

}  // namespace qm

#endif  // QMPECORE_CORE_MESSAGE_COPY_H_
