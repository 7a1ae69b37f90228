// What tells one state of a file from a later one without reading it: its
// identity on the volume, size and last write time. A file written or
// replaced since gets a different stamp.
#ifndef QMPECORE_PLATFORM_FILE_STAMP_H_
#define QMPECORE_PLATFORM_FILE_STAMP_H_

#include <cstdint>
#include <string_view>

namespace qm::platform {

struct FileStamp {
  uint64_t volume = 0;
  uint64_t file = 0;
  int64_t size = -1;  // -1: the file could not be examined
  int64_t writeTime = 0;  // in the system's own unit

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at `path`; size -1 when it cannot be examined.
FileStamp StampOfFile(std::u16string_view path);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_STAMP_H_
