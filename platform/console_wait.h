// For command-line tools that play a running program: wait until the user
// interrupts (SIGINT/SIGTERM, or Ctrl+C/Ctrl+Break on Windows) or the
// standard input reaches its end.
#ifndef QMPECORE_PLATFORM_CONSOLE_WAIT_H_
#define QMPECORE_PLATFORM_CONSOLE_WAIT_H_

namespace qm::platform {

enum class WaitEnd { kInterrupted, kInputClosed, kError };

// Blocks until one of the two happens. Input read meanwhile is discarded.
WaitEnd WaitForInterruptOrInputEnd();

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_CONSOLE_WAIT_H_
