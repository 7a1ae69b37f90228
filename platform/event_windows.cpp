// On Windows the event is the kernel's own: unnamed, automatically
// resetting, initially not signalled, and not inherited by child processes.
#include "platform/event.h"

#include "platform/windows_api.h"

namespace qm::platform {

void* CreateUnnamedEvent() { return ::CreateEventW(nullptr, FALSE, FALSE, nullptr); }

void CloseEvent(void* event) {
  if (event != nullptr) ::CloseHandle(event);
}

}  // namespace qm::platform
