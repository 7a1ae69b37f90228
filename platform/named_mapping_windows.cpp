// Named mappings on Windows: pagefile-backed file mappings, one view per
// process (see named_object_windows.h).
#include "platform/named_object_windows.h"

namespace qm::platform {
namespace {

NamedObjectStatus AcquireMapping(std::u16string_view name, bool create, size_t size,
                                 NamedHandle* mapping, bool* created) {
  NamedObjectRequest request;
  request.kind = NamedObjectKind::kMapping;
  request.name = name;
  request.create = create;
  request.size = size;
  return AcquireNamedObject(request, mapping, created);
}

}  // namespace

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

NamedObjectStatus OpenNamedMapping(std::u16string_view name, NamedHandle* mapping) {
  bool created = false;
  return AcquireMapping(name, false, 0, mapping, &created);
}

NamedObjectStatus CreateNamedMapping(std::u16string_view name, size_t size, NamedHandle* mapping,
                                     bool* existed) {
  bool created = false;
  NamedObjectStatus status = AcquireMapping(name, true, size, mapping, &created);
  if (status.ok()) *existed = !created;
  return status;
}

NamedObjectStatus MapNamedView(NamedHandle mapping, NamedView* view) {
  if (mapping == nullptr || mapping->kind != NamedObjectKind::kMapping) {
    return {NamedObjectError::kBadHandle, ERROR_INVALID_HANDLE};
  }
  return AddNamedView(mapping, view);
}

NamedObjectStatus UnmapNamedView(const void* base) {
  if (!ReleaseNamedView(base)) return {NamedObjectError::kUnmapView, ERROR_INVALID_ADDRESS};
  return {};
}

NamedObjectStatus FlushNamedView(const void* base, size_t bytes) {
  if (!::FlushViewOfFile(base, bytes)) {
    return {NamedObjectError::kFlushView, static_cast<int>(::GetLastError())};
  }
  return {};
}

}  // namespace qm::platform
