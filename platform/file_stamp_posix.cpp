#include <sys/stat.h>

#include "platform/file_names.h"
#include "platform/file_stamp.h"

namespace qm::platform {

FileStamp StampOfFile(std::u16string_view path) {
  struct stat status;
  if (::stat(TextToNativeName(path).c_str(), &status) != 0) return {};
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
          static_cast<int64_t>(status.st_size),
          static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace qm::platform
