// Where the POSIX backend keeps named objects (see named_objects.h).
//
// Each user has one folder, /dev/shm/qmpe-<effective uid>, mode 0700. An
// object is one file in it, mode 0600, named after its kind and its name:
//
//   mapping "Global\Quillmarsh.Editor"  ->  mapping.Global%005CQuillmarsh.Editor
//   mutex "A3F0721BE54C4b1e8D27F96C0B4E1D55"
//                                       ->  mutex.A3F0721BE54C4b1e8D27F96C0B4E1D55
//
// Letters, digits, "-", "_" and "." stand for themselves; every other UTF-16
// code unit becomes "%" and four upper-case hex digits, so that every name
// has its own file. Beside each object lies its creation lock, the same
// name behind "lock." (lock.mapping.Global%005CQuillmarsh.Editor), removed
// with the object when its last holder closes it. An object whose holders
// all died leaves its files behind, stale; the next open clears them away.
//
// A folder, object or lock file that is not owned by the effective user, or
// that others may read or write, is refused. On Linux the registry of named
// objects is therefore per user.
#ifndef QMPECORE_PLATFORM_NAMED_OBJECT_FILES_H_
#define QMPECORE_PLATFORM_NAMED_OBJECT_FILES_H_

#include <string>
#include <string_view>

#include "platform/named_object_backend.h"

namespace qm::platform {

// The folder of this process's named objects (a native path).
std::string NamedObjectFolder();

// Moves this process's named objects to another folder, as tests do to stay
// apart from the user's own. Call it before any object is opened, or while
// none is; objects already open keep their folder.
void SetNamedObjectFolder(std::string folder);

// The file name of an object inside the folder; empty when the name is
// empty or its file name would be longer than the system allows.
std::string NamedObjectFileName(NamedObjectKind kind, std::u16string_view name);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_NAMED_OBJECT_FILES_H_
