#include "files/folder_scan.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "platform/folder_enumeration.h"
#include "platform/path_limits.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

struct FolderIdentityHash {
  size_t operator()(const platform::FolderIdentity& id) const {
    return std::hash<uint64_t>()(id.inode * 0x9E3779B97F4A7C15ULL ^ id.device);
  }
};

// How many paths through links may enter one folder. Each lists the
// folder's files under its own names, but links that share targets give
// paths that multiply with their depth (two links from each level to the
// next: 2^levels); past this many such paths a folder lists nothing more
// through links. Its path without links is always walked.
constexpr uint32_t kMostLinkedPathsPerFolder = 16;

struct Walk {
  std::vector<std::u16string>* files;
  std::vector<UnreadFolder>* unread;
  // The folders from the top down to the one being read: a link back to
  // one of them is a cycle and is not followed.
  std::vector<platform::FolderIdentity> open;
  // The paths through links that have entered each folder so far.
  std::unordered_map<platform::FolderIdentity, uint32_t, FolderIdentityHash> linkedEntries;

  bool Enter(const platform::FolderIdentity& folder, bool throughLink) {
    if (std::find(open.begin(), open.end(), folder) != open.end()) return false;
    if (throughLink && ++linkedEntries[folder] > kMostLinkedPathsPerFolder) return false;
    open.push_back(folder);
    return true;
  }
};

// Each level holds its folder open while its subfolders are read, so the
// entries after a subfolder come from the same enumeration. `throughLink`:
// the path to `folder` passes a link.
void ScanInto(std::u16string folder, bool throughLink, Walk* walk) {
  NormalizeText(&folder, 0, 0);
  if (folder.empty()) return;
  platform::FolderReader reader;
  if (reader.Open(folder) == platform::FsStatus::kOk) {
    if (!walk->Enter(reader.identity(), throughLink)) return;
    platform::FolderEntry entry;
    std::u16string path;
    while (reader.Next(&entry)) {
      path.assign(folder).append(entry.name);
      if (entry.kind == platform::EntryKind::kFolder) {
        path.push_back(platform::kPathSeparator);
        ScanInto(std::move(path), throughLink || entry.link, walk);
      } else {
        // A link that leads nowhere is still a name in the folder.
        NormalizeText(&path, 0, 0);
        walk->files->push_back(std::move(path));
      }
      path.clear();
    }
    walk->open.pop_back();
  }
  // Its open or one of its reads failed.
  if (reader.status() != platform::FsStatus::kOk) {
    walk->unread->push_back({std::move(folder), reader.status(), reader.nativeError()});
  }
}

}  // namespace

int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files,
                   std::vector<UnreadFolder>* unread) {
  std::u16string start(folder);
  NormalizeText(&start, 0, 0);
  if (start.empty()) return -1;
  Walk walk{files, unread, {}, {}};
  ScanInto(std::move(start), false, &walk);
  return static_cast<int32_t>(files->size());
}

}  // namespace qm
