#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/standard_streams.h"
#include "platform/windows_api.h"

namespace qm::platform {

bool IsTerminal(StandardStream stream) {
  const HANDLE handle =
      GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

void MakeStandardOutputBinary() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace qm::platform
