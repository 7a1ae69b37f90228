// The inside of the Windows backend of named_objects.h, shared by its files.
//
// The kernel's named objects give most of that header's behaviour as they
// are: lifetime by handle, zero-filled pagefile-backed mappings, recursive
// mutexes owned by threads, WAIT_ABANDONED. Three promises need more, and a
// process table of records gives them: every view of a mapping shares one
// address; a view keeps the object (and its name) alive, where the kernel
// drops the name with the last handle; and closing the last handle of a
// mutex that a thread of this process owns keeps the mutex. So a process
// holds one kernel handle and at most one view per object, whatever number
// of handles and views it hands out: they are counted references, and the
// kernel handle is closed when they are all given back.
#ifndef QMPECORE_PLATFORM_NAMED_OBJECT_WINDOWS_H_
#define QMPECORE_PLATFORM_NAMED_OBJECT_WINDOWS_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/named_object_backend.h"
#include "platform/windows_api.h"

namespace qm::platform {

// One named object open in this process. All but `kind`, `name` and
// `handle` are guarded by the table's lock.
struct NamedObject {
  NamedObjectKind kind = NamedObjectKind::kMapping;
  std::wstring name;
  HANDLE handle = nullptr;
  // Handles plus views handed out, and of them the views.
  size_t references = 0;
  size_t views = 0;
  // A mapping's one view, from the first MapNamedView until the record ends.
  uint8_t* base = nullptr;
  size_t size = 0;
  // A mutex's levels of ownership held by a thread of this process.
  int ownedDepth = 0;
  NamedObject* next = nullptr;
};

// The kernel calls for each kind (named_mapping_windows.cpp,
// named_mutex_windows.cpp), run under the table's lock.
NamedObjectStatus OpenKernelMapping(const NamedObjectRequest& request, const std::wstring& name,
                                    HANDLE* handle, bool* created);
NamedObjectStatus OpenKernelMutex(const NamedObjectRequest& request, const std::wstring& name,
                                  HANDLE* handle, bool* created);

// The kernel's name of an object: the name as given, with this process's
// tag (empty unless set) put in front of the part after any "Namespace\"
// prefix. Empty when the name holds a zero unit.
std::wstring KernelObjectName(std::u16string_view name);

// Tags the names of this process's objects from now on, as tests do to stay
// apart from each other and from the user's own registry. Call it while no
// object is open; objects already open keep their names.
void SetNamedObjectTag(std::u16string tag);

// The one place where a failed kernel open or create becomes a status.
NamedObjectStatus KernelOpenFailure(DWORD error);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_NAMED_OBJECT_WINDOWS_H_
