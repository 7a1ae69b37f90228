#include <unistd.h>

#include "platform/standard_streams.h"

namespace qm::platform {

bool IsTerminal(StandardStream stream) {
  return ::isatty(stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void MakeStandardOutputBinary() {}

}  // namespace qm::platform
