// One line of diagnostics: standard error on POSIX, the debugger output on
// Windows. Nothing is read back and nothing fails visibly: a trace that
// cannot be written is dropped.
#ifndef QMPECORE_PLATFORM_TRACE_H_
#define QMPECORE_PLATFORM_TRACE_H_

#include <string_view>

namespace qm::platform {

// Writes `text` (UTF-16, an unpaired surrogate shown as U+FFFD) and ends
// the line, unless the text already ends with "\n". The line goes out in
// one write, so lines of several processes do not mix.
void WriteTraceLine(std::u16string_view text);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_TRACE_H_
