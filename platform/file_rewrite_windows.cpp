#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/file_rewrite.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

constexpr int kNewNameTries = 100;

FileRewriteStatus Failed(FileRewriteStep step, DWORD systemError) {
  return {step, static_cast<int>(systemError)};
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD wrote = 0;
    if (!::WriteFile(file, bytes.data(), want, &wrote, nullptr) || wrote == 0) return false;
    bytes.remove_prefix(wrote);
  }
  return true;
}

// `original` + `suffix` + a number, as wide text, for each name in turn
// until `make` answers anything but "exists": its error, 0 for made.
template <class Make>
DWORD MakeBeside(std::u16string_view original, const char* suffix, std::u16string* candidate,
                 std::wstring* wide, Make make) {
  for (int attempt = 0; attempt < kNewNameTries; ++attempt) {
    candidate->assign(original);
    for (char c : suffix + std::to_string(attempt)) candidate->push_back(static_cast<char16_t>(c));
    if (!ToWideText(*candidate, wide)) return ERROR_INVALID_NAME;
    const DWORD error = make(*wide);
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace

WriteFailure WriteFailureOf(int systemError) {
  switch (static_cast<DWORD>(systemError)) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_READ_ONLY:
      return WriteFailure::kReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteFailure::kNoSpace;
    default:
      return WriteFailure::kOther;
  }
}

FileRewriteStatus ReadWholeFile(std::u16string_view path, std::string* bytes) {
  bytes->clear();
  std::wstring wide;
  if (!ToWideText(path, &wide)) return Failed(FileRewriteStep::kRead, ERROR_INVALID_NAME);
  const OwnedHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return Failed(FileRewriteStep::kRead, ::GetLastError());
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    return Failed(FileRewriteStep::kRead, ERROR_INVALID_PARAMETER);
  }
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return Failed(FileRewriteStep::kRead, ::GetLastError());
  if (static_cast<uint64_t>(size.QuadPart) >= SIZE_MAX / 2) {
    return Failed(FileRewriteStep::kRead, ERROR_FILE_TOO_LARGE);
  }
  bytes->resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) bytes->resize(done + 4096);  // a file that grew
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes->data() + done, want, &got, nullptr)) {
      const DWORD error = ::GetLastError();
      bytes->clear();
      return Failed(FileRewriteStep::kRead, error);
    }
    if (got == 0) break;
    done += got;
  }
  bytes->resize(done);
  return {};
}

FileRewriteStatus WriteFileBeside(std::u16string_view original, std::string_view bytes,
                                  std::u16string* newPath) {
  newPath->clear();
  std::u16string candidate;
  std::wstring wide;
  HANDLE handle = INVALID_HANDLE_VALUE;
  const DWORD made = MakeBeside(original, ".new", &candidate, &wide, [&](const std::wstring& name) {
    handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? ::GetLastError() : DWORD{0};
  });
  if (made != 0) return Failed(FileRewriteStep::kCreate, made);
  bool written;
  DWORD error = 0;
  {
    const OwnedHandle file(handle);
    written = WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    if (!written) error = ::GetLastError();
  }
  if (!written) {
    ::DeleteFileW(wide.c_str());
    return Failed(FileRewriteStep::kWrite, error);
  }
  *newPath = std::move(candidate);
  return {};
}

// MOVEFILE_WRITE_THROUGH answers once the rename is on the disk, so a
// rename never waits for a folder sync here.
FileRewriteStatus RenameOver(std::u16string_view from, std::u16string_view to, FolderSync) {
  std::wstring wideFrom;
  std::wstring wideTo;
  if (!ToWideText(from, &wideFrom) || !ToWideText(to, &wideTo)) {
    return Failed(FileRewriteStep::kReplace, ERROR_INVALID_NAME);
  }
  if (!::MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Failed(FileRewriteStep::kReplace, ::GetLastError());
  }
  return {};
}

FileRewriteStatus SyncFoldersOf(const std::vector<std::u16string>&, size_t*) { return {}; }

FileRewriteStatus LinkBeside(std::u16string_view original, std::u16string* linkPath) {
  linkPath->clear();
  std::wstring wideOriginal;
  if (!ToWideText(original, &wideOriginal)) {
    return Failed(FileRewriteStep::kLink, ERROR_INVALID_NAME);
  }
  std::u16string candidate;
  std::wstring wide;
  const DWORD made = MakeBeside(original, ".old", &candidate, &wide, [&](const std::wstring& name) {
    return ::CreateHardLinkW(name.c_str(), wideOriginal.c_str(), nullptr) ? DWORD{0}
                                                                           : ::GetLastError();
  });
  if (made != 0) return Failed(FileRewriteStep::kLink, made);
  *linkPath = std::move(candidate);
  return {};
}

FileRewriteStatus RemoveFile(std::u16string_view path) {
  std::wstring wide;
  if (!ToWideText(path, &wide)) return Failed(FileRewriteStep::kRemove, ERROR_INVALID_NAME);
  if (!::DeleteFileW(wide.c_str())) return Failed(FileRewriteStep::kRemove, ::GetLastError());
  return {};
}

}  // namespace qm::platform
