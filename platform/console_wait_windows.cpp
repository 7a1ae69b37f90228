// Ctrl+C, Ctrl+Break and the closing of the console reach a handler that
// the system runs on a thread of its own. It sets an event and cancels the
// waiting thread's blocking read of standard input, so that one read waits
// for the input and for the interrupt together.
#include <mutex>

#include "platform/console_wait.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

// What the handler needs of the waiting call; guarded by `lock`, since the
// handler may run while the call is ending.
struct WaitState {
  std::mutex lock;
  bool waiting = false;
  HANDLE interrupted = nullptr;  // manual reset
  HANDLE reader = nullptr;       // the thread that reads standard input
};

WaitState& State() {
  static WaitState state;
  return state;
}

// Sets the event once, then cancels the read until the waiting call has
// left it: a cancel that comes just before the read starts finds nothing
// to cancel, and the next one stops it.
bool InterruptWait() {
  WaitState& state = State();
  for (bool first = true;; first = false) {
    {
      std::lock_guard<std::mutex> guard(state.lock);
      if (!state.waiting) return !first;
      if (first) ::SetEvent(state.interrupted);
      ::CancelSynchronousIo(state.reader);
    }
    ::Sleep(10);
  }
}

BOOL WINAPI OnConsoleControl(DWORD control) {
  if (!InterruptWait()) return FALSE;  // no wait: the default handling ends the process
  if (control == CTRL_CLOSE_EVENT || control == CTRL_LOGOFF_EVENT ||
      control == CTRL_SHUTDOWN_EVENT) {
    // The system ends the process as soon as this returns. Waiting here
    // gives the program the time to close what it holds and exit; the
    // system's own time limit ends it otherwise.
    ::Sleep(INFINITE);
  }
  return TRUE;
}

bool WasInterrupted(DWORD waitMs) {
  return ::WaitForSingleObject(State().interrupted, waitMs) == WAIT_OBJECT_0;
}

// Reads standard input to its end, or until the handler interrupts.
WaitEnd ReadUntilEnd() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  constexpr DWORD kHandlerDelayMs = 100;
  char discard[4096];
  for (;;) {
    if (WasInterrupted(0)) return WaitEnd::kInterrupted;
    DWORD got = 0;
    ::SetLastError(ERROR_SUCCESS);
    ::ReadFile(input, discard, sizeof discard, &got, nullptr);
    if (got > 0) continue;
    // No bytes and no abort: the input has ended, broken, or is missing.
    if (::GetLastError() != ERROR_OPERATION_ABORTED) return WaitEnd::kInputClosed;
    // Aborted: by the handler, or by the console itself on Ctrl+C, which
    // ends a pending read (with or without failing it) before the handler
    // runs. The handler's event, set soon after, tells an interrupt.
    if (WasInterrupted(kHandlerDelayMs)) return WaitEnd::kInterrupted;
  }
}

}  // namespace

WaitEnd WaitForInterruptOrInputEnd() {
  WaitState& state = State();
  HANDLE interrupted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE reader = nullptr;
  if (interrupted == nullptr ||
      !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                         &reader, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    if (interrupted != nullptr) ::CloseHandle(interrupted);
    return WaitEnd::kError;
  }
  {
    std::lock_guard<std::mutex> guard(state.lock);
    state.interrupted = interrupted;
    state.reader = reader;
    state.waiting = true;
  }
  const WaitEnd end =
      ::SetConsoleCtrlHandler(OnConsoleControl, TRUE) ? ReadUntilEnd() : WaitEnd::kError;
  {
    std::lock_guard<std::mutex> guard(state.lock);
    state.waiting = false;
  }
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  ::CloseHandle(reader);
  ::CloseHandle(interrupted);
  return end;
}

}  // namespace qm::platform
