// The storage into which the find reads each project file.
#ifndef QMPECORE_PLATFORM_FILE_BUFFER_H_
#define QMPECORE_PLATFORM_FILE_BUFFER_H_

#include <cstddef>
#include <memory>
#include <string_view>

namespace qm::platform {

// The bytes of the last file read, followed by one zero byte. The storage
// stays from one read to the next and grows only for a file larger than
// any before it, so searching many files allocates almost never. It starts
// at kMinimumStorage (the files of most projects fit, and pages that no
// read touches cost nothing) and grows to the larger file's size plus one,
// rounded up to whole large pages, freeing the old storage first, so memory
// stays near the largest file (which counts in a 32-bit process).
//
// The bytes start on a large page boundary and the storage is advised onto
// large pages: the read is the first touch of each new storage, and on
// small pages that is a fault for every 4 KiB.
// Not copyable; one thread at a time.
class FileBuffer {
 public:
  static constexpr size_t kMinimumStorage = size_t{4} << 20;

  FileBuffer() = default;
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  std::string_view bytes() const { return {data_, size_}; }

  // Makes the content `size` bytes of unspecified value (to be
  // overwritten) and returns them; the zero byte after them is written.
  // Throws std::bad_alloc when they cannot be had; the buffer is then empty.
  char* PrepareForOverwrite(size_t size);
  // Keeps the first `size` bytes (size <= the current size).
  void Truncate(size_t size);

  // The bytes that one allocation of the storage for a file of `size`
  // bytes asks for (tests limit allocations with it).
  static size_t AllocationFor(size_t size);

 private:
  static size_t CapacityFor(size_t size);

  std::unique_ptr<char[]> storage_;
  char* data_ = nullptr;  // inside storage_, on a large page boundary
  size_t capacity_ = 0;   // bytes from data_ on
  size_t size_ = 0;
};

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_BUFFER_H_
