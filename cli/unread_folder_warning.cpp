#include "cli/unread_folder_warning.h"

#include <cstdio>
#include <string_view>

#include "platform/file_names.h"
#include "platform/folder_enumeration.h"
#include "platform/path_limits.h"

namespace qm::cli {
namespace {

// In the same words on every platform, whatever the system calls it.
const char* ReasonOf(int32_t code) {
  switch (static_cast<platform::FsStatus>(code)) {
    case platform::FsStatus::kNotFound:
    case platform::FsStatus::kPathNotFound:
      return "no such folder";
    case platform::FsStatus::kTooManyOpenFiles:
      return "too many open files";
    case platform::FsStatus::kAccessDenied:
      return "access denied";
    case platform::FsStatus::kOutOfMemory:
      return "out of memory";
    case platform::FsStatus::kInvalidName:
      return "an invalid name";
    case platform::FsStatus::kNameTooLong:
      return "the name is too long";
    case platform::FsStatus::kNotAFolder:
      return "not a folder";
    case platform::FsStatus::kLinkLoop:
      return "too many levels of links";
    case platform::FsStatus::kOk:
    case platform::FsStatus::kIoError:
      break;
  }
  return "an I/O error";
}

}  // namespace

int32_t WarnOfUnreadFolder(void*, const QmUnreadFolder* folder) {
  // The path as the file system's own bytes, as qmpe files prints paths.
  std::u16string_view path(folder->path);
  if (path.size() > 1 && platform::IsPathSeparator(path.back())) path.remove_suffix(1);
  std::fprintf(stderr, "qmpe: warning: cannot read folder %s: %s (system error %d)\n",
               platform::TextToNativeName(path).c_str(), ReasonOf(folder->code),
               static_cast<int>(folder->systemError));
  return 1;
}

}  // namespace qm::cli
