// Reading a file's text into memory, for the find's search of project text
// files: one open, the size, reads of that many bytes (or up to the first
// zero byte), one close.
#ifndef QMPECORE_PLATFORM_FILE_READ_H_
#define QMPECORE_PLATFORM_FILE_READ_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/file_buffer.h"

namespace qm::platform {

// Which step failed. The system's own error number is kept beside it.
enum class FileReadError {
  kNone = 0,
  kOpen,      // no such file, no access, or a name that cannot be a path
  kNotAFile,  // a folder, device or pipe
  kSize,      // the size could not be taken
  kTooLarge,  // larger than 32 bits can count
  kRead,      // the read itself failed
};

struct FileReadStatus {
  FileReadError error = FileReadError::kNone;
  int systemError = 0;  // errno or GetLastError(); 0 when not from the system

  bool ok() const { return error == FileReadError::kNone; }
};

// Reads the regular file at `path` into `buffer` up to its first zero
// byte, where a text file's content ends (the whole file when it holds
// none; the rest of a binary file is never read). std::bad_alloc when the
// buffer cannot hold the file (the file is closed all the same). A file
// that shrinks during the read gives the bytes that were there; one that
// grows gives its first size bytes, as taken before the read. On failure
// the buffer holds no bytes. The file is opened for reading only, never
// inherited by child processes, and closed before the return.
FileReadStatus ReadFileText(std::u16string_view path, FileBuffer* buffer);

// What both backends share: the file is read in pieces, each scanned for a
// zero byte at once, while it is still in the cache (a scan of the whole
// file after its read would go to memory again for a large file).
// `readSome(at, want)` reads at most `want` bytes to `at` and answers with
// the count (0 at the end of the file) or a negative count on failure.
// Returns the bytes before the first zero byte (all that were read when
// there is none), or -1 when a read failed.
template <class ReadSome>
int64_t ReadUpToFirstZero(ReadSome readSome, char* out, size_t size) {
  constexpr size_t kPieceBytes = size_t{1} << 20;
  size_t done = 0;
  while (done < size) {
    const int64_t got = readSome(out + done, std::min(size - done, kPieceBytes));
    if (got < 0) return -1;
    if (got == 0) break;
    if (const void* zero = std::memchr(out + done, 0, static_cast<size_t>(got))) {
      return static_cast<const char*>(zero) - out;
    }
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}


}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_READ_H_
