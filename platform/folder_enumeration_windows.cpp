// Folders are read with FindFirstFileExW and FindNextFileW. The status codes
// of folder_enumeration.h are Windows error codes, so most errors pass
// through as they are.
#include "platform/folder_enumeration.h"

#include "platform/path_limits.h"
#include "platform/windows_api.h"

namespace qm::platform {
namespace {

// The one place where a Windows error becomes a status.
FsStatus StatusFromError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FsStatus::kOk;
    case ERROR_FILE_NOT_FOUND:
      return FsStatus::kNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FsStatus::kPathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FsStatus::kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return FsStatus::kAccessDenied;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return FsStatus::kOutOfMemory;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return FsStatus::kInvalidName;
    case ERROR_FILENAME_EXCED_RANGE:
      return FsStatus::kNameTooLong;
    case ERROR_DIRECTORY:
      return FsStatus::kNotAFolder;
    case ERROR_CANT_RESOLVE_FILENAME:
      return FsStatus::kLinkLoop;
    default:
      return FsStatus::kIoError;
  }
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Opens what is at `path` to look at it, following links, without asking
// for any access to its content; backup semantics let a folder open.
HANDLE OpenToInspect(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// What the link or other reparse point at `path` leads to. One whose
// target cannot be reached is still a folder when it says it is one (a
// folder link or a junction): entering it then fails like any unreadable
// folder.
EntryKind KindOfTarget(const std::wstring& path, DWORD ownAttributes) {
  const OwnedHandle target(OpenToInspect(path));
  BY_HANDLE_FILE_INFORMATION info;
  if (!target.valid() || !::GetFileInformationByHandle(target.get(), &info)) {
    return (ownAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder
                                                           : EntryKind::kDanglingLink;
  }
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder
                                                                 : EntryKind::kFile;
}

}  // namespace

struct FolderReader::Handle {
  HANDLE find = INVALID_HANDLE_VALUE;  // none for a folder with no entry
  WIN32_FIND_DATAW found;
  bool foundPending = false;  // `found` holds an entry not yet given out
  std::wstring folder;        // with its trailing separator, for following links
};

FolderReader::FolderReader() = default;

FolderReader::~FolderReader() { Close(); }

// The folder is opened once to learn its identity (volume and file index)
// and that it is a folder at all, then read through a find handle.
FsStatus FolderReader::Open(std::u16string_view path) {
  Close();
  auto handle = std::make_unique<Handle>();
  if (!ToWideText(path, &handle->folder)) {
    status_ = FsStatus::kInvalidName;
    nativeError_ = 0;
    return status_;
  }
  BY_HANDLE_FILE_INFORMATION info;
  {
    const OwnedHandle folder(OpenToInspect(handle->folder));
    if (!folder.valid() || !::GetFileInformationByHandle(folder.get(), &info)) {
      Fail(static_cast<int>(::GetLastError()));
      return status_;
    }
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    Fail(ERROR_DIRECTORY);
    return status_;
  }
  if (handle->folder.empty() || !IsPathSeparator(handle->folder.back())) {
    handle->folder.push_back(kPathSeparator);
  }
  const std::wstring pattern = handle->folder + L'*';
  handle->find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &handle->found,
                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (handle->find != INVALID_HANDLE_VALUE) {
    handle->foundPending = true;
  } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
    Fail(static_cast<int>(error));  // not just a folder without entries, such as a bare drive
    return status_;
  }
  handle_ = std::move(handle);
  identity_ = {info.dwVolumeSerialNumber,
               (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  status_ = FsStatus::kOk;
  nativeError_ = 0;
  return status_;
}

void FolderReader::Close() {
  if (handle_ != nullptr && handle_->find != INVALID_HANDLE_VALUE) ::FindClose(handle_->find);
  handle_.reset();
  identity_ = {};
}

bool FolderReader::Next(FolderEntry* entry) {
  if (handle_ == nullptr) return false;
  for (;;) {
    if (!handle_->foundPending) {
      if (handle_->find == INVALID_HANDLE_VALUE) return false;
      if (!::FindNextFileW(handle_->find, &handle_->found)) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_NO_MORE_FILES) Fail(static_cast<int>(error));
        return false;
      }
    }
    handle_->foundPending = false;
    const WIN32_FIND_DATAW& found = handle_->found;
    if (IsDotOrDotDot(found.cFileName)) continue;
    AssignFromWide(found.cFileName, ::wcslen(found.cFileName), &entry->name);
    entry->link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (entry->link) {
      entry->kind = KindOfTarget(handle_->folder + found.cFileName, found.dwFileAttributes);
    } else {
      entry->kind = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder
                                                                             : EntryKind::kFile;
    }
    return true;
  }
}

void FolderReader::Fail(int nativeError) {
  nativeError_ = nativeError;
  status_ = StatusFromError(static_cast<DWORD>(nativeError));
}

// GetFileAttributesW looks at a link itself, not at what it leads to.
FsStatus ProbePath(std::u16string_view path) {
  std::wstring wide;
  if (!ToWideText(path, &wide)) return FsStatus::kInvalidName;
  if (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return FsStatus::kOk;
  return StatusFromError(::GetLastError());
}

}  // namespace qm::platform
