// Reading a whole file into memory, for the find's search of project text
// files: one open, the size, one read of that many bytes, one close.
#ifndef QMPECORE_PLATFORM_FILE_READ_H_
#define QMPECORE_PLATFORM_FILE_READ_H_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/memory_advice.h"

namespace qm::platform {

// The bytes of the last file read, followed by one zero byte. The storage
// stays from one read to the next and grows only for a file larger than
// any before it, so searching many files allocates almost never. It grows
// to exactly that file's size plus one, freeing the old storage first, so
// memory stays near the largest file (which counts in a 32-bit process).
// Not copyable; one thread at a time.
class FileBuffer {
 public:
  FileBuffer() = default;
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  std::string_view bytes() const { return {data_.get(), size_}; }

  // Makes the content `size` bytes of unspecified value (to be
  // overwritten) and returns them; the zero byte after them is written.
  // Throws std::bad_alloc when they cannot be had; the buffer is then empty.
  char* PrepareForOverwrite(size_t size) {
    if (size >= capacity_) {
      data_.reset();
      capacity_ = 0;
      size_ = 0;
      data_ = std::make_unique_for_overwrite<char[]>(size + 1);
      capacity_ = size + 1;
      // The read is the first touch of the whole storage.
      if (capacity_ >= kLargeStorageBytes) PreferLargePages(data_.get(), capacity_);
    }
    size_ = size;
    data_[size_] = '\0';
    return data_.get();
  }
  // Keeps the first `size` bytes (size <= the current size).
  void Truncate(size_t size) {
    size_ = std::min(size, size_);
    if (data_) data_[size_] = '\0';
  }

 private:
  // Below this a storage spans too few large pages to be worth the advice.
  static constexpr size_t kLargeStorageBytes = size_t{4} << 20;

  std::unique_ptr<char[]> data_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

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

// Reads the whole regular file at `path` into `buffer`; std::bad_alloc
// when the buffer cannot hold it (the file is closed all the same). A file that shrinks
// during the read gives the bytes that were there; one that grows gives
// its first size bytes, as taken before the read. On failure the buffer
// holds no bytes. The file is opened for reading only, never inherited by
// child processes, and closed before the return.
FileReadStatus ReadWholeFile(std::u16string_view path, FileBuffer* buffer);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_READ_H_
