// Writing one code point as UTF-8 for the file-name conversions of both
// backends (file_names.h). Surrogate code points are written too, in the
// three-byte form of their value: strict UTF-8 has no such form, but it
// keeps distinct texts distinct.
#ifndef QMPECORE_PLATFORM_UTF8_APPEND_H_
#define QMPECORE_PLATFORM_UTF8_APPEND_H_

#include <unicode/utf8.h>

#include <cstdint>
#include <string>

namespace qm::platform {

// Any code point up to U+10FFFF.
inline void AppendUtf8(UChar32 c, std::string* out) {
  uint8_t buffer[U8_MAX_LENGTH];
  size_t length = 0;
  U8_APPEND_UNSAFE(buffer, length, c);
  out->append(reinterpret_cast<const char*>(buffer), length);
}

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_UTF8_APPEND_H_
