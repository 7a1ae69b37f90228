#include "find/files/converter_reading.h"

#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"
#include "qmshared/qmshared.h"

namespace qm {

std::string_view ConverterReading::Of(std::string_view bytes) {
  if constexpr (platform::kConverterReplacesMaximalSubparts) return bytes;
  if (platform::IsWellFormedUtf8(bytes)) return bytes;
  BytesToTextN(&text_, bytes);
  TextToBytes(&bytes_, text_, kCodePageUtf8, 1);
  return bytes_;
}

}  // namespace qm
