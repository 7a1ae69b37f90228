// The interrupt signals are blocked and taken through a signalfd, so that
// one poll waits for them and for the end of standard input together.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

#include "platform/console_wait.h"

namespace qm::platform {

WaitEnd WaitForInterruptOrInputEnd() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return WaitEnd::kError;
  int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);
  if (signalFd < 0) return WaitEnd::kError;

  WaitEnd end = WaitEnd::kError;
  pollfd watched[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
  char discard[4096];
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (watched[0].revents & POLLIN) {
      end = WaitEnd::kInterrupted;
      break;
    }
    if (watched[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
      ssize_t got = read(STDIN_FILENO, discard, sizeof discard);
      if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
        end = WaitEnd::kInputClosed;
        break;
      }
    }
  }
  close(signalFd);
  return end;
}

}  // namespace qm::platform
