#include "find/files/file_lines.h"

#include <algorithm>
#include <new>
#include <string>

#include "find/files/converter_reading.h"
#include "find/files/line_walk.h"
#include "find/files/utf8_decode.h"
#include "platform/file_read.h"

namespace qm {

FileLinesStatus ReadFileLines(std::u16string_view fullPath, const std::vector<LineSpan>& spans,
                              const std::function<bool(int32_t, std::u16string_view)>& take) {
  platform::FileBuffer buffer;
  try {
    if (!platform::ReadFileText(fullPath, &buffer).ok()) return FileLinesStatus::kCannotRead;
  } catch (const std::bad_alloc&) {
    return FileLinesStatus::kCannotRead;  // as the find skips a file too large to hold
  }
  const std::string_view raw = buffer.bytes();
  ConverterReading reading;
  const std::string_view text = reading.Of(raw.substr(0, raw.find('\0')));
  LineWalk walk(text);
  std::u16string decoded;
  for (const LineSpan& span : spans) {
    // 64 bits, so that a span up to INT32_MAX ends.
    for (int64_t number = std::max(span.first, 1); number <= span.last; ++number) {
      const auto lineNumber = static_cast<int32_t>(number);
      if (!walk.MoveToLine(lineNumber)) return FileLinesStatus::kRead;
      if (walk.start() == text.size() && lineNumber > 1) return FileLinesStatus::kRead;
      const std::string_view line = walk.bytes();
      decoded.resize(line.size());
      decoded.resize(DecodeUtf8(line, decoded.data()));
      if (!take(lineNumber, decoded)) return FileLinesStatus::kStopped;
    }
  }
  return FileLinesStatus::kRead;
}

}  // namespace qm
