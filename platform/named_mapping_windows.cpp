// Named mappings on Windows: pagefile-backed file mappings, one view per
// process (see named_object_windows.h).
#include "platform/named_object_windows.h"

namespace qm::platform {

NamedObjectStatus OpenKernelMapping(const NamedObjectRequest& request, const std::wstring& name,
                                    HANDLE* handle, bool* created) {
  const DWORD access = FILE_MAP_READ | FILE_MAP_WRITE;
  if (!request.create) {
    *handle = ::OpenFileMappingW(access, FALSE, name.c_str());
    if (*handle == nullptr) return KernelOpenFailure(::GetLastError());
    *created = false;
    return {};
  }
  const uint64_t size = request.size;
  *handle =
      ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                           static_cast<DWORD>(size >> 32), static_cast<DWORD>(size), name.c_str());
  if (*handle == nullptr) return KernelOpenFailure(::GetLastError());
  *created = ::GetLastError() != ERROR_ALREADY_EXISTS;
  return {};
}

NamedObjectStatus FlushNamedView(const void* base, size_t bytes) {
  if (!::FlushViewOfFile(base, bytes)) {
    return {NamedObjectError::kFlushView, static_cast<int>(::GetLastError())};
  }
  return {};
}

}  // namespace qm::platform
