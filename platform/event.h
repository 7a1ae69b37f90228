// An unnamed, automatically resetting event, initially not signalled, as an
// open editor hands one to the application. The library itself never
// signals or waits on it.
#ifndef QMPECORE_PLATFORM_EVENT_H_
#define QMPECORE_PLATFORM_EVENT_H_

namespace qm::platform {

// Null when the system cannot create one (out of descriptors or memory).
void* CreateUnnamedEvent();
// Closes an event made by CreateUnnamedEvent; null is ignored.
void CloseEvent(void* event);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_EVENT_H_
