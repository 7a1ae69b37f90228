// Path sizes of the platform, in UTF-16 code units including the
// terminator. Windows keeps its classic MAX_PATH record; POSIX projects may
// live deep, so path and directory get PATH_MAX there.
#ifndef QMPECORE_PLATFORM_PATH_LIMITS_H_
#define QMPECORE_PLATFORM_PATH_LIMITS_H_

#include <cstddef>

#ifdef _WIN32
namespace qm::platform {
inline constexpr size_t kPathFieldUnits = 260;
inline constexpr size_t kDirectoryFieldUnits = 256;
inline constexpr char16_t kPathSeparator = u'\\';
inline constexpr bool kPathsFoldCase = true;
inline constexpr bool kPathsHaveDrives = true;  // "C:" before the directory
inline constexpr bool kPathsHaveNetworkPrefix = true;  // a leading double separator names a share
}  // namespace qm::platform
#else
#include <climits>
namespace qm::platform {
inline constexpr size_t kPathFieldUnits = PATH_MAX;
inline constexpr size_t kDirectoryFieldUnits = PATH_MAX;
inline constexpr char16_t kPathSeparator = u'/';
inline constexpr bool kPathsFoldCase = false;
inline constexpr bool kPathsHaveDrives = false;
inline constexpr bool kPathsHaveNetworkPrefix = false;
}  // namespace qm::platform
#endif

namespace qm::platform {
// "/" separates on every platform; Windows also takes its own "\".
inline constexpr bool IsPathSeparator(char16_t c) { return c == u'/' || c == kPathSeparator; }
}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_PATH_LIMITS_H_
