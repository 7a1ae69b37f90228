// The process's table of open named objects. A process has at most one
// descriptor and one memory map per object, whatever number of handles and
// views it holds: they are counted references, and the object is given up
// (and ended, when this was its last holder) when the count drops to zero.
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <new>

#include "platform/named_object_posix.h"

namespace qm::platform {
namespace {

std::mutex g_tableLock;
NamedObject* g_objects = nullptr;  // guarded by g_tableLock

// This process's id, kept up to date in a child made by fork (getpid is a
// system call, and this is asked on every open).
pid_t Self() {
  static pid_t self = [] {
    pthread_atfork(nullptr, nullptr, [] { self = getpid(); });
    return getpid();
  }();
  return self;
}

NamedObject* FindHeld(const std::string& folder, const std::string& fileName) {
  const pid_t self = Self();
  for (NamedObject* object = g_objects; object != nullptr; object = object->next) {
    if (object->fileName == fileName && object->folder == folder && object->opener == self) {
      return object;
    }
  }
  return nullptr;
}

void RemoveFromTable(NamedObject* object) {
  for (NamedObject** link = &g_objects; *link != nullptr; link = &(*link)->next) {
    if (*link == object) {
      *link = object->next;
      return;
    }
  }
}

class FolderDescriptor {
 public:
  ~FolderDescriptor() {
    if (fd >= 0) close(fd);
  }
  int fd = -1;
};

// Maps the file just opened and, for a mutex, sets it up or checks it;
// runs under the creation lock, so a new mutex is ready (and owned, when
// asked) before any other process can open it.
NamedObjectStatus MapHeldFile(const NamedObjectRequest& request, const HeldFile& file,
                              NamedObject* object) {
  void* base = mmap(nullptr, file.size, PROT_READ | PROT_WRITE, MAP_SHARED, file.fd, 0);
  if (base == MAP_FAILED) return {NamedObjectError::kMapObject, errno};
  object->base = static_cast<uint8_t*>(base);
  object->size = file.size;
  if (request.kind != NamedObjectKind::kMutex) return {};
  NamedObjectStatus status;
  if (file.created) {
    status = InitSharedMutex(object->base, request.initiallyOwned);
    if (status.ok() && request.initiallyOwned) object->ownedDepth = 1;
  } else if (!IsSharedMutex(object->base, object->size)) {
    status = {NamedObjectError::kBadObject, EINVAL};
  }
  if (!status.ok()) munmap(base, file.size);
  return status;
}

NamedObjectStatus OpenObject(const NamedObjectRequest& request, NamedObject* object,
                             bool* created) {
  FolderDescriptor dir;
  NamedObjectStatus status = OpenObjectFolder(object->folder, true, &dir.fd);
  if (!status.ok()) return status;
  CreationLock lock;
  status = lock.Acquire(dir.fd, object->fileName, object->lockWaitMs);
  if (!status.ok()) return status;
  // A mutex's object holds the mutex and nothing else.
  const size_t size = request.kind == NamedObjectKind::kMutex ? SharedMutexSize() : request.size;
  HeldFile file;
  status = OpenHeldFile(dir.fd, object->fileName, request.create, size, &file);
  if (status.error == NamedObjectError::kNotFound) lock.RemoveFile();  // no object to order
  if (!status.ok()) return status;
  status = MapHeldFile(request, file, object);
  if (!status.ok()) {
    if (CloseHeldFile(dir.fd, object->fileName, file.fd)) lock.RemoveFile();
    return status;
  }
  object->fd = file.fd;
  *created = file.created;
  return {};
}

// Gives up the file under its creation lock, ending the object when no
// other process holds it. When the lock cannot be had in time the file
// stays behind, stale, for the next open to clear away.
void GiveUpFile(NamedObject* object) {
  if (object->fd < 0) return;
  FolderDescriptor dir;
  CreationLock lock;
  const bool locked = OpenObjectFolder(object->folder, false, &dir.fd).ok() &&
                      lock.Acquire(dir.fd, object->fileName, object->lockWaitMs).ok();
  if (CloseHeldFile(locked ? dir.fd : -1, object->fileName, object->fd)) lock.RemoveFile();
  object->fd = -1;
}

void DestroyObject(NamedObject* object) {
  RemoveFromTable(object);
  munmap(object->base, object->size);
  GiveUpFile(object);
  delete object;
}

// A process's handles close when it ends. Closing them here, rather than
// leaving the kernel to drop the locks, lets an object end with its last
// holder instead of staying behind stale. The records and the memory stay
// (a thread may still be inside a call, or own a mutex) and go with the
// process; a later open does not find them and opens afresh.
struct CloseAtExit {
  ~CloseAtExit() {
    std::lock_guard<std::mutex> guard(g_tableLock);
    const pid_t self = Self();
    for (NamedObject* object = g_objects; object != nullptr; object = object->next) {
      if (object->opener != self) continue;
      GiveUpFile(object);
      object->opener = 0;
    }
  }
} g_closeAtExit;

void ReleaseReferenceLocked(NamedObject* object) {
  if (object->references > 0) --object->references;
  if (object->references == 0 && object->ownedDepth.load() == 0) DestroyObject(object);
}

}  // namespace

const int kBadHandleSystemError = EINVAL;
const int kBadViewSystemError = EINVAL;

NamedObjectStatus AcquireNamedObject(const NamedObjectRequest& request, NamedObject** object,
                                     bool* created) {
  std::string fileName = NamedObjectFileName(request.kind, request.name);
  if (fileName.empty()) {
    return {NamedObjectError::kBadName, request.name.empty() ? EINVAL : ENAMETOOLONG};
  }
  std::string folder = NamedObjectFolder();
  std::lock_guard<std::mutex> guard(g_tableLock);
  *created = false;
  if (NamedObject* held = FindHeld(folder, fileName)) {
    ++held->references;
    *object = held;
    return {};
  }
  std::unique_ptr<NamedObject> fresh(new (std::nothrow) NamedObject);
  if (!fresh) return {NamedObjectError::kOutOfMemory, ENOMEM};
  fresh->kind = request.kind;
  fresh->opener = Self();
  fresh->lockWaitMs = request.lockWaitMs;
  fresh->folder = std::move(folder);
  fresh->fileName = std::move(fileName);
  NamedObjectStatus status = OpenObject(request, fresh.get(), created);
  if (!status.ok()) return status;
  fresh->references = 1;
  fresh->next = g_objects;
  g_objects = fresh.release();
  *object = g_objects;
  return {};
}

void ReleaseNamedObjectReference(NamedObject* object) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  ReleaseReferenceLocked(object);
}

NamedObjectKind KindOfNamedObject(const NamedObject* object) { return object->kind; }

void AddNamedObjectView(NamedObject* mapping) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  ++mapping->views;
  ++mapping->references;
}

bool ReleaseNamedObjectViewAt(const void* base) {
  std::lock_guard<std::mutex> guard(g_tableLock);
  for (NamedObject* object = g_objects; object != nullptr; object = object->next) {
    if (object->base != base || object->kind != NamedObjectKind::kMapping) continue;
    if (object->views == 0) return false;
    --object->views;
    ReleaseReferenceLocked(object);
    return true;
  }
  return false;
}

void CloseNamedHandle(NamedHandle handle) {
  if (handle != nullptr) ReleaseNamedObjectReference(handle);
}

int32_t NamedHandleValue(NamedHandle handle) { return handle != nullptr ? handle->fd : 0; }

}  // namespace qm::platform
