#include "platform/trace.h"

#include <unicode/unistr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>

namespace qm::platform {

void WriteTraceLine(std::u16string_view text) {
  // ICU counts in int32_t; a longer trace is cut at that length.
  const auto length = static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
  std::string line;
  icu::UnicodeString(false, text.data(), length).toUTF8String(line);
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  size_t written = 0;
  while (written < line.size()) {
    ssize_t n = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<size_t>(n);
  }
}

}  // namespace qm::platform
