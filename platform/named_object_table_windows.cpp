// The process's table of open named objects (see named_object_windows.h).
#include <memory>
#include <mutex>
#include <new>

#include "platform/named_object_windows.h"

namespace qm::platform {
namespace {

std::mutex g_tableLock;
NamedObject* g_objects = nullptr;  // guarded by g_tableLock

NamedObject* FindHeld(NamedObjectKind kind, const std::wstring& name) {
  for (NamedObject* object = g_objects; object != nullptr; object = object->next) {
    if (object->kind == kind && object->name == name) return object;
  }
  return nullptr;
}

// Ends this process's hold on the object once nothing refers to it and no
// thread of this process owns it.
void DestroyIfUnused(NamedObject* object) {
  if (object->references != 0 || object->ownedDepth != 0) return;
  for (NamedObject** link = &g_objects; *link != nullptr; link = &(*link)->next) {
    if (*link == object) {
      *link = object->next;
      break;
    }
  }
  if (object->base != nullptr) ::UnmapViewOfFile(object->base);
  ::CloseHandle(object->handle);
  delete object;
}

std::u16string& ObjectTag() {
  static std::u16string tag;
  return tag;
}

}  // namespace

void SetNamedObjectTag(std::u16string tag) { ObjectTag() = std::move(tag); }

std::wstring KernelObjectName(std::u16string_view name) {
  std::u16string tagged(name);
  const size_t afterNamespace = tagged.rfind(u'\\') + 1;  // 0 without one
  tagged.insert(afterNamespace, ObjectTag());
  std::wstring wide;
  return ToWideText(tagged, &wide) ? wide : std::wstring();
}

const int kBadHandleSystemError = ERROR_INVALID_HANDLE;
const int kBadViewSystemError = ERROR_INVALID_ADDRESS;

NamedObjectStatus KernelOpenFailure(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return {NamedObjectError::kNotFound, static_cast<int>(error)};
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_PATH_NOT_FOUND:  // a "Namespace\" prefix that names no namespace
    case ERROR_FILENAME_EXCED_RANGE:
      return {NamedObjectError::kBadName, static_cast<int>(error)};
    case ERROR_INVALID_HANDLE:  // the name is taken by an object of another type
      return {NamedObjectError::kBadObject, static_cast<int>(error)};
    default:
      return {NamedObjectError::kOpenObject, static_cast<int>(error)};
  }
}

NamedObjectStatus AcquireNamedObject(const NamedObjectRequest& request, NamedObject** object,
                                     bool* created) {
  *created = false;
  // An empty name would make an unnamed object that nobody else can open.
  const std::wstring name = KernelObjectName(request.name);
  if (request.name.empty() || name.empty()) {
    return {NamedObjectError::kBadName, ERROR_INVALID_NAME};
  }
  std::lock_guard<std::mutex> guard(g_tableLock);
  if (NamedObject* held = FindHeld(request.kind, name)) {
    ++held->references;
    *object = held;
    return {};
  }
  std::unique_ptr<NamedObject> fresh(new (std::nothrow) NamedObject);
  if (!fresh) return {NamedObjectError::kOutOfMemory, ERROR_NOT_ENOUGH_MEMORY};
  const NamedObjectStatus status = request.kind == NamedObjectKind::kMapping
                                       ? OpenKernelMapping(request, name, &fresh->handle, created)
                                       : OpenKernelMutex(request, name, &fresh->handle, created);
  if (!status.ok()) return status;
  fresh->kind = request.kind;
  fresh->name = std::move(name);
  fresh->references = 1;
  if (request.kind == NamedObjectKind::kMutex && *created && request.initiallyOwned) {
    fresh->ownedDepth = 1;
  }
  fresh->next = g_objects;
  g_objects = fresh.release();
  *object = g_objects;
  return {};
}

NamedObjectKind KindOfNamedObject(const NamedObject* object) { return object->kind; }

// The view's size is the mapping's, in whole pages: the system rounds a
// mapping up to them, and the bytes past the requested size are part of
// it, zero-filled and shared like the rest.
NamedObjectStatus AddNamedView(NamedObject* mapping, NamedView* view) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  if (mapping->base == nullptr) {
    void* base = ::MapViewOfFile(mapping->handle, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    if (base == nullptr) return {NamedObjectError::kMapObject, static_cast<int>(::GetLastError())};
    MEMORY_BASIC_INFORMATION region;
    if (::VirtualQuery(base, &region, sizeof region) == 0) {
      const DWORD error = ::GetLastError();
      ::UnmapViewOfFile(base);
      return {NamedObjectError::kMapObject, static_cast<int>(error)};
    }
    mapping->base = static_cast<uint8_t*>(base);
    mapping->size = region.RegionSize;
  }
  ++mapping->references;
  ++mapping->views;
  view->base = mapping->base;
  view->size = mapping->size;
  return {};
}

bool ReleaseNamedView(const void* base) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  for (NamedObject* object = g_objects; object != nullptr; object = object->next) {
    if (object->kind == NamedObjectKind::kMapping && object->base == base && object->views > 0) {
      --object->views;
      --object->references;
      DestroyIfUnused(object);
      return true;
    }
  }
  return false;
}

void AddMutexOwnership(NamedObject* mutex, bool abandoned) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  mutex->ownedDepth = abandoned ? 1 : mutex->ownedDepth + 1;
}

void DropMutexOwnership(NamedObject* mutex) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  if (mutex->ownedDepth > 0) --mutex->ownedDepth;
  DestroyIfUnused(mutex);
}

void CloseNamedHandle(NamedHandle handle) {
  if (handle == nullptr) return;
  std::lock_guard<std::mutex> guard(g_tableLock);
  if (handle->references > 0) --handle->references;
  DestroyIfUnused(handle);
}

// Windows keeps handle values within 32 bits, in 64-bit processes too.
int32_t NamedHandleValue(NamedHandle handle) {
  return handle != nullptr ? static_cast<int32_t>(reinterpret_cast<intptr_t>(handle->handle)) : 0;
}

}  // namespace qm::platform
