#include "platform/trace.h"
#include "qmshared/qmshared.h"

namespace qm {

void QM_CALL TraceText(const char16_t* text) {
  if (text != nullptr) platform::WriteTraceLine(text);
}

}  // namespace qm
