#include <string>

#include "platform/file_stamp.h"
#include "platform/windows_api.h"

namespace qm::platform {

FileStamp StampOfFile(std::u16string_view path) {
  std::wstring wide;
  if (!ToWideText(path, &wide)) return {};
  const HANDLE file = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL got = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!got) return {};
  const auto join = [](DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
  };
  return {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
          static_cast<int64_t>(join(info.nFileSizeHigh, info.nFileSizeLow)),
          static_cast<int64_t>(join(info.ftLastWriteTime.dwHighDateTime,
                                    info.ftLastWriteTime.dwLowDateTime))};
}

}  // namespace qm::platform
