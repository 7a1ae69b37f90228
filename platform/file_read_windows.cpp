#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/file_read.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

FileReadStatus Failed(FileReadError error, DWORD systemError, FileBuffer* buffer) {
  buffer->Truncate(0);
  return {error, static_cast<int>(systemError)};
}

// Without sharing, as the find has always read: a file that another
// program holds open (an editor saving it, say) fails to open and is
// skipped, and nobody can change the file while it is read. Backup
// semantics let a folder open too, so that it is turned away as not a file
// rather than as an open that failed. Without security attributes the
// handle is not inherited.
HANDLE OpenForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// One read; -1 with the error left for GetLastError when it fails.
int64_t ReadSome(HANDLE file, char* out, size_t want) {
  DWORD got = 0;
  if (!::ReadFile(file, out, static_cast<DWORD>(want), &got, nullptr)) return -1;
  return got;
}

}  // namespace

FileReadStatus ReadFileText(std::u16string_view path, FileBuffer* buffer) {
  std::wstring wide;
  if (!ToWideText(path, &wide)) return Failed(FileReadError::kOpen, ERROR_INVALID_NAME, buffer);
  const OwnedHandle file(OpenForReading(wide));
  if (!file.valid()) {
    return Failed(FileReadError::kOpen, ::GetLastError(), buffer);
  }
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    return Failed(FileReadError::kNotAFile, 0, buffer);
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file.get(), &info)) {
    return Failed(FileReadError::kSize, ::GetLastError(), buffer);
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Failed(FileReadError::kNotAFile, 0, buffer);
  }
  // The buffer needs one byte more than the file, which a 32-bit process
  // cannot count for a file of 4 GiB less one byte.
  const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (size > UINT32_MAX || size >= SIZE_MAX) {
    return Failed(FileReadError::kTooLarge, ERROR_FILE_TOO_LARGE, buffer);
  }
  const auto bytes = static_cast<size_t>(size);
  const int64_t got = ReadUpToFirstZero(
      [&](char* at, size_t want) { return ReadSome(file.get(), at, want); },
      buffer->PrepareForOverwrite(bytes), bytes);
  if (got < 0) return Failed(FileReadError::kRead, ::GetLastError(), buffer);
  buffer->Truncate(static_cast<size_t>(got));
  return {};
}

}  // namespace qm::platform
