// Named mutexes on Windows: the kernel's mutexes, which are owned by
// threads, recursive, and report WAIT_ABANDONED when their owner ended
// holding them (see named_object_windows.h).
#include "platform/named_object_windows.h"

namespace qm::platform {
namespace {

bool IsMutexHandle(NamedHandle handle) {
  return handle != nullptr && handle->kind == NamedObjectKind::kMutex;
}

}  // namespace

// For a mutex that exists already, the kernel ignores the initial owner.
NamedObjectStatus OpenKernelMutex(const NamedObjectRequest& request, const std::wstring& name,
                                  HANDLE* handle, bool* created) {
  *handle = ::CreateMutexW(nullptr, request.initiallyOwned ? TRUE : FALSE, name.c_str());
  if (*handle == nullptr) return KernelOpenFailure(::GetLastError());
  *created = ::GetLastError() != ERROR_ALREADY_EXISTS;
  return {};
}

NamedObjectStatus CreateNamedMutex(std::u16string_view name, bool initiallyOwned,
                                   NamedHandle* mutex, bool* existed) {
  NamedObjectRequest request;
  request.kind = NamedObjectKind::kMutex;
  request.name = name;
  request.create = true;
  request.initiallyOwned = initiallyOwned;
  bool created = false;
  NamedObjectStatus status = AcquireNamedObject(request, mutex, &created);
  if (status.ok()) *existed = !created;
  return status;
}

WaitResult WaitForNamedMutex(NamedHandle mutex, uint32_t timeoutMs, NamedObjectStatus* status) {
  *status = {};
  if (!IsMutexHandle(mutex)) {
    *status = {NamedObjectError::kBadHandle, ERROR_INVALID_HANDLE};
    return WaitResult::kFailed;
  }
  switch (::WaitForSingleObject(mutex->handle, timeoutMs)) {
    case WAIT_OBJECT_0:
      AddMutexOwnership(mutex, false);
      return WaitResult::kAcquired;
    case WAIT_ABANDONED:
      // The dead owner's levels of recursion are gone with it.
      AddMutexOwnership(mutex, true);
      return WaitResult::kAbandoned;
    case WAIT_TIMEOUT:
      return WaitResult::kTimeout;
    default:
      *status = {NamedObjectError::kWaitMutex, static_cast<int>(::GetLastError())};
      return WaitResult::kFailed;
  }
}

NamedObjectStatus ReleaseNamedMutex(NamedHandle mutex) {
  if (!IsMutexHandle(mutex)) return {NamedObjectError::kBadHandle, ERROR_INVALID_HANDLE};
  if (!::ReleaseMutex(mutex->handle)) {
    return {NamedObjectError::kReleaseMutex, static_cast<int>(::GetLastError())};
  }
  DropMutexOwnership(mutex);
  return {};
}

}  // namespace qm::platform
