// Named mutexes on Windows: the kernel's mutexes, which are owned by
// threads, recursive, and report WAIT_ABANDONED when their owner ended
// holding them (see named_object_windows.h).
#include "platform/named_object_windows.h"

namespace qm::platform {

// For a mutex that exists already, the kernel ignores the initial owner.
NamedObjectStatus OpenKernelMutex(const NamedObjectRequest& request, const std::wstring& name,
                                  HANDLE* handle, bool* created) {
  *handle = ::CreateMutexW(nullptr, request.initiallyOwned ? TRUE : FALSE, name.c_str());
  if (*handle == nullptr) return KernelOpenFailure(::GetLastError());
  *created = ::GetLastError() != ERROR_ALREADY_EXISTS;
  return {};
}

WaitResult WaitForMutexObject(NamedObject* mutex, uint32_t timeoutMs, NamedObjectStatus* status) {
  switch (::WaitForSingleObject(mutex->handle, timeoutMs)) {
    case WAIT_OBJECT_0:
      return WaitResult::kAcquired;
    case WAIT_ABANDONED:
      return WaitResult::kAbandoned;
    case WAIT_TIMEOUT:
      return WaitResult::kTimeout;
    default:
      *status = {NamedObjectError::kWaitMutex, static_cast<int>(::GetLastError())};
      return WaitResult::kFailed;
  }
}

NamedObjectStatus ReleaseMutexObject(NamedObject* mutex) {
  if (!::ReleaseMutex(mutex->handle)) {
    return {NamedObjectError::kReleaseMutex, static_cast<int>(::GetLastError())};
  }
  return {};
}

}  // namespace qm::platform
