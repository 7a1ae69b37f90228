// Splitting the path of a fixed-size PathParts record into drive,
// directory (with its trailing separator), file name and extension (from
// the last "." of the final segment, the dot included). Every part is
// checked against its field before anything is written.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/path_limits.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

template <size_t N>
bool Fits(std::u16string_view part, const char16_t (&)[N]) {
  return part.size() < N;
}

template <size_t N>
void Store(std::u16string_view part, char16_t (&field)[N]) {
  std::copy(part.begin(), part.end(), field);
  field[part.size()] = u'\0';
}

void ClearParts(PathParts* parts) {
  parts->drive[0] = u'\0';
  parts->directory[0] = u'\0';
  parts->fileName[0] = u'\0';
  parts->extension[0] = u'\0';
}

size_t DriveLength(std::u16string_view path) {
  if constexpr (platform::kPathsHaveDrives) {
    if (path.size() >= 2 && path[1] == u':') return 2;
  }
  return 0;
}

}  // namespace

bool QM_CALL SetPathPartsPath(PathParts* parts, std::u16string_view path) {
  if (parts == nullptr) return false;
  std::memset(static_cast<void*>(parts), 0, sizeof *parts);
  // A path with a zero unit inside would be cut at it; refused like one
  // that is too long.
  if (path.size() >= std::size(parts->path) || path.find(u'\0') != path.npos) return false;
  Store(path, parts->path);
  return true;
}

bool QM_CALL SplitPath(PathParts* parts) {
  if (parts == nullptr) return false;
  const char16_t* end = std::find(std::begin(parts->path), std::end(parts->path), u'\0');
  if (end == std::end(parts->path)) {
    ClearParts(parts);
    return false;
  }
  std::u16string_view path(parts->path, static_cast<size_t>(end - parts->path));
  const std::u16string_view drive = path.substr(0, DriveLength(path));
  path.remove_prefix(drive.size());
  const auto lastSeparator = std::find_if(path.rbegin(), path.rend(), platform::IsPathSeparator);
  const std::u16string_view directory = path.substr(0, static_cast<size_t>(path.rend() - lastSeparator));
  path.remove_prefix(directory.size());
  const size_t dot = path.rfind(u'.');
  const std::u16string_view fileName = path.substr(0, dot == path.npos ? path.size() : dot);
  const std::u16string_view extension = path.substr(fileName.size());
  if (!Fits(drive, parts->drive) || !Fits(directory, parts->directory) ||
      !Fits(fileName, parts->fileName) || !Fits(extension, parts->extension)) {
    ClearParts(parts);
    return false;
  }
  Store(drive, parts->drive);
  Store(directory, parts->directory);
  Store(fileName, parts->fileName);
  Store(extension, parts->extension);
  return true;
}

}  // namespace qm
