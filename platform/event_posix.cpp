// On POSIX the event is an eventfd: a kernel object that an application can
// poll, whose counter a read resets (automatic reset).
#include <sys/eventfd.h>
#include <unistd.h>

#include <new>

#include "platform/event.h"

namespace qm::platform {
namespace {

struct PosixEvent {
  int fd;
};

}  // namespace

void* CreateUnnamedEvent() {
  int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return nullptr;
  auto* event = new (std::nothrow) PosixEvent{fd};
  if (event == nullptr) close(fd);
  return event;
}

void CloseEvent(void* event) {
  if (event == nullptr) return;
  auto* posixEvent = static_cast<PosixEvent*>(event);
  close(posixEvent->fd);
  delete posixEvent;
}

}  // namespace qm::platform
