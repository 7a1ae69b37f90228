#include "platform/file_buffer.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/memory_advice.h"

namespace qm::platform {

size_t FileBuffer::CapacityFor(size_t size) {
  // Room for the rounding and the alignment slack, whatever the word size.
  if (size > SIZE_MAX - 3 * kLargePageBytes) throw std::bad_alloc();
  const size_t wanted = std::max(size + 1, kMinimumStorage);
  return (wanted + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes;
}

// One large page more than the capacity, so that the bytes can start on a
// boundary; the slack before them is never touched and so never backed.
size_t FileBuffer::AllocationFor(size_t size) { return CapacityFor(size) + kLargePageBytes; }

char* FileBuffer::PrepareForOverwrite(size_t size) {
  if (size >= capacity_) {
    storage_.reset();
    data_ = nullptr;
    capacity_ = 0;
    size_ = 0;
    const size_t capacity = CapacityFor(size);
    storage_ = std::make_unique_for_overwrite<char[]>(AllocationFor(size));
    const auto start = reinterpret_cast<uintptr_t>(storage_.get());
    data_ = storage_.get() + ((kLargePageBytes - start % kLargePageBytes) % kLargePageBytes);
    capacity_ = capacity;
    PreferLargePages(data_, capacity_);
  }
  size_ = size;
  data_[size_] = '\0';
  return data_;
}

void FileBuffer::Truncate(size_t size) {
  size_ = std::min(size, size_);
  if (data_ != nullptr) data_[size_] = '\0';
}

}  // namespace qm::platform
